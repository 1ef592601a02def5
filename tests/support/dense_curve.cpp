#include "support/dense_curve.h"

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

namespace ostrivane::test {

DenseCurve::DenseCurve(const BetaSpline& curve, std::size_t points) {
    std::vector<std::pair<double, double>> xy;
    const double n = curve.segments();
    for (std::size_t k = 0; k <= points; ++k) {
        const CurvePoint p =
            curve.evaluate(n * static_cast<double>(k) / static_cast<double>(points));
        xy.emplace_back(p.x, p.y);
    }
    std::sort(xy.begin(), xy.end());
    std::vector<double> y;
    for (const auto& p : xy) {
        x_.push_back(p.first);
        y.push_back(p.second);
    }
    low_.push_back(std::move(y));
    for (std::size_t width = 1; 2 * width <= x_.size(); width *= 2) {
        const std::vector<double>& below = low_.back();
        std::vector<double> next(below.size() - width);
        for (std::size_t i = 0; i < next.size(); ++i)
            next[i] = std::min(below[i], below[i + width]);
        low_.push_back(std::move(next));
    }
}

double DenseCurve::lowest(double left, double right) const {
    const auto first = std::lower_bound(x_.begin(), x_.end(), left);
    const auto end = std::upper_bound(x_.begin(), x_.end(), right);
    if (!(first < end))
        return std::numeric_limits<double>::infinity();
    const auto i = static_cast<std::size_t>(first - x_.begin());
    const auto count = static_cast<std::size_t>(end - first);
    std::size_t level = 0;
    while ((std::size_t{2} << level) <= count)
        ++level;
    return std::min(low_[level][i], low_[level][i + count - (std::size_t{1} << level)]);
}

double DenseCurve::worst_reach(double left_a, double top_a, double left_b, double top_b,
                               double w) const {
    // The saw at evenly spaced positions along the move, both ends included.
    constexpr int kPositions = 64;
    double worst = -std::numeric_limits<double>::infinity();
    for (int k = 0; k <= kPositions; ++k) {
        const double f = static_cast<double>(k) / kPositions;
        const double left = left_a + f * (left_b - left_a);
        const double top = top_a + f * (top_b - top_a);
        worst = std::max(worst, top - lowest(left, left + w));
    }
    return worst;
}

}  // namespace ostrivane::test
