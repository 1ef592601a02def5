#pragma once
#include <algorithm>
#include <cmath>
#include <cstddef>

#include "core/curve/spline_points.h"

namespace ostrivane {

// The profile search behind YatX, written once for every way of evaluating the curve: the
// plain YatX evaluates directly, a caller that searches many nearby x through a cache of the
// points it has seen. Whatever `evaluate_point` gives must be what evaluate gives, to the bit,
// for the search to give the same result.
template <typename EvaluatePoint>
double TBetaSPLpoints::YatX(double X_Value, EvaluatePoint&& evaluate_point) {
    const int n = segments();
    const double tmax = n - 1e-11;
    double t = 0;
    if (tmax < 0)
        t = tmax;
    double x = 0;
    double y = 0;
    evaluate_point(t, x, y);
    double step = std::fabs(x - X_Value) <= 0.3 ? kFineStep : kCoarseStep;
    // The first coarse scan from t = 0 is looked up instead of walked; it ends where the
    // walk would end, in the same state, so the rest of the search is unchanged.
    bool look_up = step == kCoarseStep && tmax >= 0 && !std::isnan(X_Value);
    for (;;) {
        if (look_up) {
            look_up = false;
            const CoarseScan& scan = coarse_scan();
            const std::size_t entries = scan.x.size();
            std::size_t stop = 0;  // index of t after the walk
            if (x < X_Value) {
                // The walk evaluates entry j and moves on to j + 1 while entry j's x is below
                // X_Value and t_(j+1) is below tmax.
                const auto first_reaching =
                    std::lower_bound(scan.reach.begin(), scan.reach.end(), X_Value);
                const std::size_t j = static_cast<std::size_t>(first_reaching - scan.reach.begin());
                stop = std::min(j + 1, entries);
                x = scan.x[stop - 1];
                y = scan.y[stop - 1];
            }
            t = scan.t[stop];
        } else {
            while (x < X_Value && t < tmax) {
                evaluate_point(t, x, y);
                t = t + step;
            }
        }
        t = t - step;
        if (t < 0)
            t = 0;
        step = step / 2;
        evaluate_point(t, x, y);
        while (x > X_Value && t > 1e-11) {
            t = t - step;
            if (t < 0)
                t = 0;
            evaluate_point(t, x, y);
        }
        if (std::fabs(x - X_Value) < 0.01 || step < 1e-11)
            break;
    }
    oldtime = t < 0 ? 0 : t;
    return y;
}

}  // namespace ostrivane
