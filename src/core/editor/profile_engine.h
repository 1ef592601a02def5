#pragma once
#include "core/curve/spline_points.h"
#include "core/plot/canvas.h"
#include "core/plot/tgrita.h"

namespace ostrivane {

// The editor's profile with what the editor hands it: the second spline, the turning axis and
// the beam, and the picture of all of them. It carries the names of the turning engine, which
// extends the same point set, so the editor works on either.
class ProfileEngine : public TBetaSPLpoints {
  public:
    explicit ProfileEngine(Tgrita& aGrita) : TBetaSPLpoints(aGrita), spline2(aGrita) {}

    using TBetaSPLpoints::set_data;
    // Both splines take the saw width and resolution; each has its own match flag.
    void set_data(double Amill_width, double Asteps_mm_X, double Adraaias, double Athickness,
                  bool Asecond_spline, bool Amatch1, bool Amatch2);

    // Spline 1 with its mirror image, parts, axis and beam, then spline 2.
    void drawall();
    void drawthespline(std::int32_t noP, Argb acol) override;
    void drawas();

    TBetaSPLpoints spline2;
    bool second_spline = false;
    double thickness = 1.0;
    double draaias = 1.0;
};

}  // namespace ostrivane
