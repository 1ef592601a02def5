#pragma once
#include <cmath>

#include "core/curve/spline_points.h"

namespace ostrivane::test {

// The profile search written out step by step, scanning from t = 0 on every call: the
// reference that the shipped YatX must reproduce bit for bit.
inline double literal_YatX(BetaSpline& curve, double X_Value, double& oldtime) {
    const double tmax = curve.segments() - 1e-11;
    double t = 0;
    if (tmax < 0)
        t = tmax;
    double x = 0;
    double y = 0;
    curve.evaluate(t, x, y);
    double step = std::fabs(x - X_Value) <= 0.3 ? 0.0001 : 0.1;
    for (;;) {
        while (x < X_Value && t < tmax) {
            curve.evaluate(t, x, y);
            t = t + step;
        }
        t = t - step;
        if (t < 0)
            t = 0;
        step = step / 2;
        curve.evaluate(t, x, y);
        while (x > X_Value && t > 1e-11) {
            t = t - step;
            if (t < 0)
                t = 0;
            curve.evaluate(t, x, y);
        }
        if (std::fabs(x - X_Value) < 0.01 || step < 1e-11)
            break;
    }
    oldtime = t < 0 ? 0 : t;
    return y;
}

}  // namespace ostrivane::test
