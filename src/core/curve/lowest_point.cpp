#include "core/curve/lowest_point.h"

#include <algorithm>
#include <cmath>

namespace ostrivane {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
// Steps of the bisection and the golden-section search: well below a nanometre on any
// profile a machine turns.
constexpr int kSearchSteps = 80;
// A step back in x smaller than this is rounding, not an undercut.
constexpr double kBackwards = 1e-9;

}  // namespace

void LowestPoint::refresh(const BetaSpline& curve) {
    if (curve_ == &curve && generation_ == curve.curve_generation() && points_ == curve.Nopoints)
        return;
    curve_ = &curve;
    generation_ = curve.curve_generation();
    points_ = curve.Nopoints;
    samples_.clear();
    segment_x_.clear();
    backwards_.clear();
    const int n = curve.segments();
    if (n < 1)
        return;
    samples_.reserve(static_cast<std::size_t>(n) * kSamplesPerSegment + 1);
    for (int s = 0; s < n; ++s) {
        for (int k = 0; k < kSamplesPerSegment; ++k) {
            const double t = s + static_cast<double>(k) / kSamplesPerSegment;
            const CurvePoint p = curve.evaluate(t);
            samples_.push_back({t, p.x, p.y});
        }
    }
    const CurvePoint end = curve.evaluate(n);
    samples_.push_back({static_cast<double>(n), end.x, end.y});

    for (int s = 0; s < n; ++s) {
        XRange r{kInfinity, -kInfinity};
        for (int k = 0; k <= kSamplesPerSegment; ++k) {
            const double x = samples_[static_cast<std::size_t>(s * kSamplesPerSegment + k)].x;
            r.from = std::min(r.from, x);
            r.to = std::max(r.to, x);
        }
        segment_x_.push_back(r);
    }
    bool in_run = false;
    for (std::size_t k = 0; k + 1 < samples_.size(); ++k) {
        const double a = samples_[k].x;
        const double b = samples_[k + 1].x;
        if (b < a - kBackwards) {
            if (!in_run)
                backwards_.push_back({b, a});
            backwards_.back().from = std::min(backwards_.back().from, b);
            backwards_.back().to = std::max(backwards_.back().to, a);
            in_run = true;
        } else {
            in_run = false;
        }
    }
}

const std::vector<XRange>& LowestPoint::doubling_back(const BetaSpline& curve) {
    refresh(curve);
    return backwards_;
}

void LowestPoint::consider(const BetaSpline& curve, double t, double left, double right,
                           double& lowest) {
    const CurvePoint p = curve.evaluate(t);
    if (p.x >= left && p.x <= right && p.y < lowest)
        lowest = p.y;
}

double LowestPoint::under(const BetaSpline& curve, double left, double right) {
    refresh(curve);
    double lowest = kInfinity;
    if (samples_.size() < 2 || !(left <= right))
        return lowest;
    const auto x_at = [&](double t) { return curve.evaluate(t).x; };
    const auto y_at = [&](double t) { return curve.evaluate(t).y; };
    for (std::size_t s = 0; s < segment_x_.size(); ++s) {
        // A segment whose samples lie well clear of the range cannot reach into it.
        const double margin = (segment_x_[s].to - segment_x_[s].from) + 1e-9;
        if (segment_x_[s].to + margin < left || segment_x_[s].from - margin > right)
            continue;
        const std::size_t first = s * kSamplesPerSegment;
        for (std::size_t k = first; k < first + kSamplesPerSegment; ++k) {
            const Sample& a = samples_[k];
            const Sample& b = samples_[k + 1];
            if (a.x >= left && a.x <= right)
                lowest = std::min(lowest, a.y);
            if (b.x >= left && b.x <= right)
                lowest = std::min(lowest, b.y);
            // Where the curve crosses an end of the range.
            for (const double edge : {left, right}) {
                if ((a.x - edge) * (b.x - edge) >= 0)
                    continue;
                double lo = a.t;
                double hi = b.t;
                const bool rising = a.x < edge;
                for (int i = 0; i < kSearchSteps && lo < hi; ++i) {
                    const double mid = lo + (hi - lo) / 2;
                    if ((x_at(mid) < edge) == rising)
                        lo = mid;
                    else
                        hi = mid;
                }
                // The crossing lies between the two; the lower one is the safe reading.
                lowest = std::min({lowest, y_at(lo), y_at(hi)});
            }
            // A dip of y around sample b: refined between its neighbours.
            if (k + 2 < samples_.size() && b.y <= a.y && b.y <= samples_[k + 2].y &&
                std::max(a.x, samples_[k + 2].x) >= left &&
                std::min(a.x, samples_[k + 2].x) <= right) {
                double lo = a.t;
                double hi = samples_[k + 2].t;
                const double g = (std::sqrt(5.0) - 1) / 2;
                double c = hi - g * (hi - lo);
                double d = lo + g * (hi - lo);
                double yc = y_at(c);
                double yd = y_at(d);
                for (int i = 0; i < kSearchSteps; ++i) {
                    if (yc < yd) {
                        hi = d;
                        d = c;
                        yd = yc;
                        c = hi - g * (hi - lo);
                        yc = y_at(c);
                    } else {
                        lo = c;
                        c = d;
                        yc = yd;
                        d = lo + g * (hi - lo);
                        yd = y_at(d);
                    }
                }
                consider(curve, (lo + hi) / 2, left, right, lowest);
            }
        }
    }
    return lowest;
}

}  // namespace ostrivane
