#pragma once
#include "core/curve/spline_points.h"

namespace ostrivane {

// What the operator draws for a turned piece: the profile itself (spline 1) and the second
// spline, which can give the depth of tooth slots. The editor edits it; a turning calculation
// reads it.
struct Profile {
    explicit Profile(MessageSink& notices) : spline1(notices), spline2(notices) {}

    TBetaSPLpoints spline1;
    TBetaSPLpoints spline2;
};

}  // namespace ostrivane
