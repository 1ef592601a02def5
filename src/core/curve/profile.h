#pragma once
#include "core/curve/recorded_moves.h"
#include "core/curve/spline_points.h"

namespace ostrivane {

// What the operator draws for a turned piece: the profile itself (spline 1), the second
// spline, which can give the depth of tooth slots, and the moves recorded after the passes.
// The editor edits it; a turning calculation reads it.
struct Profile {
    explicit Profile(MessageSink& notices) : spline1(notices), spline2(notices) {}

    TBetaSPLpoints spline1;
    TBetaSPLpoints spline2;
    RecordedMoves moves;
};

}  // namespace ostrivane
