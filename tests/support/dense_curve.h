#pragma once
#include <cstddef>
#include <vector>

#include "core/curve/beta_spline.h"

namespace ostrivane::test {

// A curve evaluated at a great many evenly spaced parameters and sorted by x, every branch of
// it, as an independent reading of where the profile lies: each point is a real point of the
// curve, so a lowest point read here is never below the true one.
class DenseCurve {
  public:
    DenseCurve(const BetaSpline& curve, std::size_t points);

    // The lowest y of the points with x in [left, right]; +infinity when there is none.
    double lowest(double left, double right) const;
    // How far a saw of width `w` whose left edge and top move in a straight line from
    // (left_a, top_a) to (left_b, top_b) stands, at worst, above the lowest point of the curve
    // under its blade, read at 65 positions along the move; -infinity when the curve lies
    // nowhere under it.
    double worst_reach(double left_a, double top_a, double left_b, double top_b, double w) const;

  private:
    std::vector<double> x_;
    // Level k: the lowest y of the 2^k points from each index on.
    std::vector<std::vector<double>> low_;
};

}  // namespace ostrivane::test
