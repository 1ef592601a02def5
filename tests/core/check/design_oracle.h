#pragma once
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "core/curve/beta_spline.h"

namespace ostrivane::test {

// The curve read the plain way, to hold the check's design against: a dense even sampling of
// the parameter, every chord of it taken as a piece of the curve, all branches together.
class DenseCurve {
  public:
    DenseCurve(const BetaSpline& curve, double from, double to, int per_segment = 20000)
        : from_(from), to_(to) {
        const int n = curve.segments() * per_segment;
        for (int k = 0; k <= n; ++k)
            points_.push_back(curve.evaluate(static_cast<double>(k) / per_segment));
    }
    // The lowest branch over x; +infinity where none lies.
    double at(double x) const {
        double y = kInf;
        if (x < from_ || x > to_)
            return y;
        for (std::size_t k = 0; k + 1 < points_.size(); ++k) {
            const CurvePoint& a = points_[k];
            const CurvePoint& b = points_[k + 1];
            if (x < std::min(a.x, b.x) || x > std::max(a.x, b.x))
                continue;
            y = std::min(
                y, a.x == b.x ? std::min(a.y, b.y) : a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x));
        }
        return y;
    }
    // The least of y - (y0 + slope (x - x0)) over the curve where x lies in [a, b].
    double lowest_below_line(double a, double b, double x0, double y0, double slope) const {
        a = std::max(a, from_);
        b = std::min(b, to_);
        double low = kInf;
        const auto see = [&](double x, double y) {
            low = std::min(low, y - y0 - slope * (x - x0));
        };
        for (std::size_t k = 0; k + 1 < points_.size(); ++k) {
            const CurvePoint& p = points_[k];
            const CurvePoint& q = points_[k + 1];
            const double lo = std::max(a, std::min(p.x, q.x));
            const double hi = std::min(b, std::max(p.x, q.x));
            if (lo > hi)
                continue;
            const auto y_at = [&](double x) {
                return p.x == q.x ? std::min(p.y, q.y)
                                  : p.y + (q.y - p.y) * (x - p.x) / (q.x - p.x);
            };
            see(lo, y_at(lo));
            see(hi, y_at(hi));
        }
        return low;
    }

    // The lowest branch at x0 + k * step, k = 0 … n - 1, all at once.
    std::vector<double> on_grid(double x0, double step, std::size_t n) const {
        std::vector<double> y(n, kInf);
        for (std::size_t k = 0; k + 1 < points_.size(); ++k) {
            const CurvePoint& a = points_[k];
            const CurvePoint& b = points_[k + 1];
            const double lo = std::max(std::min(a.x, b.x), from_);
            const double hi = std::min(std::max(a.x, b.x), to_);
            if (lo > hi)
                continue;
            const double first = std::max(0.0, std::ceil((lo - x0) / step));
            for (auto g = static_cast<std::size_t>(first); g < n; ++g) {
                const double x = x0 + static_cast<double>(g) * step;
                if (x > hi)
                    break;
                y[g] = std::min(y[g], a.x == b.x ? std::min(a.y, b.y)
                                                 : a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x));
            }
        }
        return y;
    }

  private:
    static constexpr double kInf = std::numeric_limits<double>::infinity();
    double from_, to_;
    std::vector<CurvePoint> points_;
};

// Points as both the points to match and the vertices of `curve`, in the order given (so a
// profile may double back in x), shape values 1.
inline void load_points(BetaSpline& curve, const std::vector<CurvePoint>& points) {
    curve.Nopoints = static_cast<int>(points.size());
    for (int k = 0; k < curve.Nopoints; ++k) {
        curve.X.Tomatch[k] = curve.X.V[k] = points[static_cast<std::size_t>(k)].x;
        curve.Y.Tomatch[k] = curve.Y.V[k] = points[static_cast<std::size_t>(k)].y;
        curve.alpha1[k] = 1.0;
        curve.alpha2[k] = 1.0;
    }
    curve.boundaryValues(curve.X.Tomatch);
    curve.boundaryValues(curve.Y.Tomatch);
    curve.boundaryValues(curve.X.V);
    curve.boundaryValues(curve.Y.V);
    curve.curve_changed();
}

}  // namespace ostrivane::test
