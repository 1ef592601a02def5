#pragma once

#include "core/curve/beta_spline.h"

namespace ostrivane {

// What a turning calculation shows while it runs. The calculation reports what it finds and
// where it puts the saw; a picture (or nothing, in a batch run) shows it.
class TurningView {
  public:
    virtual ~TurningView() = default;
    // A new job starts: the picture of the last one goes.
    virtual void begin_job() {}
    // The profile's turning points are known.
    virtual void turning_points_found() {}
    // A saw with its left edge at x and its top at `top`: placed on a turning point, plunged
    // by a rough pass, or guided along the profile by the fine pass (`fine`).
    virtual void saw(double /*x*/, double /*top*/, bool /*fine*/) {}
    // An edge of a tooth slot merged into the pass list, at the profile's height there.
    virtual void slot_edge(double /*x*/, double /*y*/) {}
    // How far the fine pass's saw must have moved, in x or in y, before it is shown again;
    // 0 shows every position.
    virtual CurvePoint fine_spacing() const { return {}; }
};

}  // namespace ostrivane
