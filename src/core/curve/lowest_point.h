#pragma once
#include <cstdint>
#include <limits>
#include <vector>

#include "core/curve/beta_spline.h"

namespace ostrivane {

// A range of x, from `from` to `to` (from <= to).
struct XRange {
    double from = 0;
    double to = 0;
};

// The lowest point of a curve over a range of x, found on the curve itself rather than on a
// sampling of it, so no narrow dip between two samples is missed. The curve is read as a whole,
// branch by branch: where it doubles back in x (an undercut), every part of it above the range
// counts.
//
// How: the curve is sampled finely per segment once (again after it changes); within a range,
// the candidates are the samples inside it, the points where the curve crosses its ends (found
// by bisection) and every local minimum of y (refined by golden-section search between the
// samples around it). A segment is a cubic or a smooth blend of cubics in its parameter, so a
// minimum narrower than a sample spacing (1/64 of a segment) is not a dip anyone could cut.
class LowestPoint {
  public:
    // The lowest y of the curve where its x lies in [left, right]; +infinity when no part of
    // the curve lies there. Needs at least two points.
    double under(const BetaSpline& curve, double left, double right);
    // The x ranges where the curve runs backwards (each merged over its run), in curve order.
    const std::vector<XRange>& doubling_back(const BetaSpline& curve);

  private:
    static constexpr int kSamplesPerSegment = 64;
    struct Sample {
        double t, x, y;
    };

    void refresh(const BetaSpline& curve);
    void consider(const BetaSpline& curve, double t, double left, double right, double& lowest);

    std::vector<Sample> samples_;
    // Per segment: the x range of its samples.
    std::vector<XRange> segment_x_;
    std::vector<XRange> backwards_;
    std::uint64_t generation_ = 0;
    int points_ = -1;
    const BetaSpline* curve_ = nullptr;
};

}  // namespace ostrivane
