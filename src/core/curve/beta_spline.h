#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "core/curve/offset_array.h"
#include "core/text/message_sink.h"

namespace ostrivane {

// Per-point arrays. Points live in slots 0 … Nopoints - 1; slot -1 and the two slots after
// the last point hold boundary copies, which is why a curve holds at most 9,999 points.
using data = OffsetArray<double, -1, 10000>;
using sel_array = OffsetArray<bool, -1, 10000>;

// One coordinate of a curve: the points the operator placed and the control vertices that
// evaluation uses (equal to the points, or corrected so that the curve passes through them).
struct splinedata {
    data Tomatch;
    data V;
};

// d[g][r + 2]: coefficient of u^g for the basis function of vertex offset r = -2 … 0.
using d_type = std::array<std::array<double, 3>, 4>;
// a[r + 2]: basis value for vertex offset r = -2 … 1.
using a_type = std::array<double, 4>;

// Opaque red, the colour of every message and selection of the curve model.
inline constexpr std::uint32_t kCurveRed = MessageSink::kRed;

// A point of a curve, in millimetres.
struct CurvePoint {
    double x = 0;
    double y = 0;
};

// Everything one evaluation works out on its way to the point: the segment and the local
// parameter u, the blended shape values, the basis coefficients and the basis itself.
struct SegmentBasis {
    int segment = 0;
    double u = 0;
    double beta1 = 0;
    double beta2 = 0;
    double delta = 0;
    d_type d{};
    a_type a{};

    void compute_d();
    void compute_delta();
    void compute_a();
    // The weighted sum of the four vertices around the segment in one coordinate.
    double compute_Q(const data& Vd) const;
};

// A cubic Beta-spline in the plane with two shape values per control point (alpha1 feeds
// beta1, alpha2 feeds beta2), blended smoothly along each segment. The parameter runs from 0 to
// n = Nopoints - 1; segment s covers s - 1 … s. Notices go to the message sink the curve is
// given (the plot surface's label in the window); the curve never draws.
class BetaSpline {
  public:
    static constexpr int kMaxPoints = 9999;

    // The sink is not owned and must outlive the curve.
    BetaSpline(bool aclosed, MessageSink& notices);
    virtual ~BetaSpline() = default;
    BetaSpline(const BetaSpline&) = delete;
    BetaSpline& operator=(const BetaSpline&) = delete;

    void deselect();
    // Refreshes the boundary slots of `mat` and, always, of alpha1 and alpha2. Needs n >= 1.
    void boundaryValues(data& mat);
    int segments() const { return Nopoints - 1; }

    // Curve point at parameter `time` (a curve of fewer than two points gives its first
    // point). An open curve clamps a time outside 0 … n with a critical notice; a closed one
    // wraps it once (-n … 2n allowed). Allocation-free and constant-time.
    CurvePoint evaluate(double time) const { return evaluate_at(time, true); }
    void evaluate(double time, double& x_value, double& y_value) const {
        const CurvePoint p = evaluate(time);
        x_value = p.x;
        y_value = p.y;
    }
    // The curve at `time` with the clamp notice only when `report` is set: the sampling walk
    // and the fine pass look past the end on purpose and handles that itself.
    CurvePoint evaluate_at(double time, bool report) const;
    // The basis an evaluation at `time` uses, after clamping or wrapping it (no notices).
    SegmentBasis basis(double time) const;

    // Corrects the control vertices at the integer parameters startseg … endseg until the mean
    // error of each matched coordinate is below match_number; true when that took at most 25
    // passes.
    bool match(int startseg, int endseg, bool matchX, bool matchY);
    // match over the whole curve; when it does not converge, falls back to the unmatched
    // vertices with a message.
    bool MatchAll(bool matchX, bool matchY);

    // Tells cached samplings of the curve that it changed. Every operation of the curve
    // classes calls it; code that writes X, Y, alpha1, alpha2 or Nopoints directly must call
    // it before the curve is sampled again.
    void curve_changed() { ++curve_generation_; }
    std::uint64_t curve_generation() const { return curve_generation_; }

    // Where notices go from now on; the sink is not owned.
    void set_notices(MessageSink& notices) { notices_ = &notices; }
    MessageSink& notices() const { return *notices_; }

    int Nopoints = 1;
    const bool closed;
    double match_number = 0.01;
    data alpha1;
    data alpha2;
    splinedata X;
    splinedata Y;
    sel_array selected;
    // Passes made by the last match (at most 26), for diagnostics.
    int match_passes = 0;

  protected:
    void message(const std::string& text, bool critical = false) const {
        notices_->notice(text, critical);
    }

  private:
    // The parameter an evaluation uses: wrapped on a closed curve, clamped on an open one.
    double clamp_time(double time, bool report) const;
    // The basis at a parameter that is already clamped or wrapped.
    SegmentBasis basis_at(double time) const;

    MessageSink* notices_;
    std::uint64_t curve_generation_ = 0;
};

}  // namespace ostrivane
