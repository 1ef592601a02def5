#include "core/toolpath/fine_heights.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/toolpath/plunge_rules.h"

namespace ostrivane {
namespace {

// A line this close to the rule on a stretch too short to split further counts as breaking
// it: the saw stays clear rather than gouge by a hair.
constexpr double kUndecided = 1e-4;
// Searches one move may cost before it counts as breaking the rule (a profile that runs along
// the rule's own line for millimetres).
constexpr int kSearchBudget = 4096;
// A move's right end lies on the walk's last point but for the rounding of left + width.
constexpr double kAtTheWalk = 1e-9;

}  // namespace

FineHeights::FineHeights(LowestPoint& lowest, const BetaSpline& curve, double saw_width)
    : lowest_(lowest), curve_(curve), w_(saw_width) {}

void FineHeights::start(double left) {
    pending_ = {left, 0};
    has_pending_ = false;
    below_home_ = false;
    single_branch_ = lowest_.doubling_back(curve_).empty();
    listed_x_ = &lowest_.listed_x(curve_);
    listed_y_ = &lowest_.listed_y(curve_);
    window_.clear();
    window_head_ = 0;
    const std::vector<double>& xs = *listed_x_;
    // From the last listed point at or before the part's start: every move's range lies
    // beyond it.
    const auto first = std::upper_bound(xs.begin(), xs.end(), left);
    left_listed_ = first == xs.begin() ? 0 : static_cast<std::size_t>(first - xs.begin()) - 1;
    next_listed_ = left_listed_;
    last_from_ = -std::numeric_limits<double>::infinity();
}

std::optional<double> FineHeights::bound(double from, double to,
                                         std::optional<CurvePoint> on_curve) {
    const std::vector<double>& xs = *listed_x_;
    const std::vector<double>& ys = *listed_y_;
    const std::size_t n = xs.size();
    if (!single_branch_ || n == 0 || from < last_from_)
        return std::nullopt;
    last_from_ = from;
    // The crossing at `from` lies between two listed points, and the curve between them is
    // no lower than the lower of them unless a listed minimum lies between: the window starts
    // at the last listed point at or before `from`.
    while (left_listed_ + 1 < n && xs[left_listed_ + 1] <= from)
        ++left_listed_;
    if (xs[left_listed_] > from)
        return std::nullopt;
    // The crossing at `to` is the walk's own point when it lies there; else the first listed
    // point beyond `to` closes the window as the first one closes it on the left.
    const bool exact_right = on_curve && std::fabs(on_curve->x - to) <= kAtTheWalk;
    const auto add = [&](std::size_t i) {
        while (window_.size() > window_head_ && window_.back().y >= ys[i])
            window_.pop_back();
        window_.push_back({xs[i], ys[i]});
    };
    for (; next_listed_ < n && xs[next_listed_] < to; ++next_listed_)
        add(next_listed_);
    if (!exact_right) {
        if (next_listed_ == n)
            return std::nullopt;
        add(next_listed_++);
    }
    while (window_head_ < window_.size() && window_[window_head_].x < xs[left_listed_])
        ++window_head_;
    if (window_head_ > 1024 && 2 * window_head_ > window_.size()) {
        window_.erase(window_.begin(), window_.begin() + static_cast<std::ptrdiff_t>(window_head_));
        window_head_ = 0;
    }
    double low = exact_right ? on_curve->y : std::numeric_limits<double>::infinity();
    if (window_head_ < window_.size())
        low = std::min(low, window_[window_head_].y);
    return low;
}

bool FineHeights::above_line(double from, double to, double high_from, double high_to,
                             int& budget) {
    const double low = lowest_.under(curve_, from, to) + kPlungeTolerance;
    if (low >= std::max(high_from, high_to))
        return true;
    if (low < std::min(high_from, high_to))
        return false;  // the lowest point lies under the line, wherever on the stretch it is
    if (std::fabs(high_to - high_from) <= kUndecided || --budget <= 0)
        return false;
    const double middle = from + (to - from) / 2;
    const double high_middle = high_from + (high_to - high_from) / 2;
    return above_line(from, middle, high_from, high_middle, budget) &&
           above_line(middle, to, high_middle, high_to, budget);
}

bool FineHeights::keeps_to_profile(SawTop a, SawTop b) {
    if (b.left < a.left)
        std::swap(a, b);
    // A profile point at x is under the blade while the left edge runs over [x - w, x]; the
    // top is linear along the move, so the highest it stands over that point is at one end of
    // that stretch. For a rising top that is where the blade last covers x: the last position's
    // whole span, and before it the line of the top itself over the left edge's track. For a
    // falling top the first position's span, and the line over the right edge's track.
    int budget = kSearchBudget;
    // A listed point of the curve under the highest end already below the rule settles it.
    const SawTop& high = b.top >= a.top ? b : a;
    if (lowest_.listed_under(curve_, high.left, high.left + w_) + kPlungeTolerance < high.top)
        return false;
    if (b.top >= a.top) {
        return lowest_.under(curve_, b.left, b.left + w_) + kPlungeTolerance >= b.top &&
               (b.left == a.left || above_line(a.left, b.left, a.top, b.top, budget));
    }
    return lowest_.under(curve_, a.left, a.left + w_) + kPlungeTolerance >= a.top &&
           (b.left == a.left || above_line(a.left + w_, b.left + w_, a.top, b.top, budget));
}

std::optional<SawTop> FineHeights::next(SawTop documented, std::optional<CurvePoint> on_curve) {
    if (below_home_)
        return std::nullopt;
    SawTop step = documented;
    // The saw's home is as low as it goes.
    step.top = std::max(step.top, 0.0);
    const double from = std::min(pending_.left, step.left);
    const double to = std::max(pending_.left, step.left) + w_;
    const double highest = std::max(pending_.top, step.top);
    const std::optional<double> low = bound(from, to, on_curve);
    const bool plainly_clear =
        low && *low >= -kPlungeTolerance && highest <= *low + kPlungeTolerance;
    if (!plainly_clear) {
        settle(step, from, to, highest);
        if (below_home_)
            return std::nullopt;
    }
    const std::optional<SawTop> settled =
        has_pending_ ? std::optional<SawTop>(pending_) : std::nullopt;
    pending_ = step;
    has_pending_ = true;
    return settled;
}

void FineHeights::settle(SawTop& step, double from, double to, double highest) {
    const double lowest = lowest_.under(curve_, from, to);
    if (lowest < -kPlungeTolerance) {
        below_home_ = true;
        return;
    }
    const bool clear = highest <= lowest + kPlungeTolerance;
    if (!clear && !keeps_to_profile(pending_, step)) {
        const double floor = std::max(lowest, 0.0);
        pending_.top = std::min(pending_.top, floor);
        step.top = std::min(step.top, floor);
    }
}

std::optional<SawTop> FineHeights::finish() {
    if (!has_pending_ || below_home_)
        return std::nullopt;
    has_pending_ = false;
    return pending_;
}

}  // namespace ostrivane
