#pragma once
#include <vector>

#include "core/curve/beta_spline.h"

namespace ostrivane {

// A straight line of a drawing, from a to b.
struct LineSegment {
    CurvePoint a;
    CurvePoint b;
};

// Two ends meet when they lie less than this apart in x and in y (mm): drawings join lines to
// their own precision, and a thousandth of a millimetre is far below anything a saw cuts.
inline constexpr double kLineJoinTolerance = 1e-3;

// The chain of lines that starts with lines[0], followed end to end: first on from its end b,
// then back from its start a, each time with the first line in the list (by its a before its
// b) that meets the chain's tip and is not in it yet. Lines that do not meet the chain are left
// out. The ends are found through a grid of cells as wide as the tolerance, so the time grows
// with the number of lines times their logarithm, whatever their order. Empty for no lines.
// Every coordinate must lie within the import's working range (kImportCoordinateLimit).
std::vector<CurvePoint> join_line_chain(const std::vector<LineSegment>& lines);

}  // namespace ostrivane
