#include <cmath>
#include <cstdint>

#include "core/plot/tgrita.h"
#include "core/toolpath/tgrad.h"

namespace ostrivane {
namespace {
constexpr double kFirstDt = 0.0001;
constexpr double kFinestDt = 1e-11;
constexpr double kRestartDt = 0.001;

double lower(double a, double b) {
    return a < b ? a : b;
}
double higher(double a, double b) {
    return a > b ? a : b;
}
}  // namespace

bool TGrad::finepass(GcodeMotion& motion, double& lastX, double& lastY) {
    const double w = mill_width;
    const double s = steps_mm_x;
    const double tmax = segments() - 0.00000000001;
    motion.steps('Z', startposZ, true);
    lastY = 0;
    motion.steps('X', XminX - lastX, true);
    lastX = XminX;
    const int runs = static_cast<std::uint16_t>(Heightdivisor);
    for (int run = 1; run <= runs; ++run) {
        notify("Action fine milling");
        // One saw drawn per three pixels of travel keeps the picture light.
        double pixX = 0;
        double pixY = 0;
        if (Tgrita* g = grita())
            g->PixelLength(pixX, pixY);
        pixX *= 3;
        pixY *= 3;
        double lastDrawX = 0;
        double lastDrawY = 0;
        for (int p = 1; p <= NoParts; ++p) {
            const double from = higher(fromX[p], XminX);
            const double to = lower(ToX[p], XmaxX);
            // The saw is guided by its right edge.
            double x = from + w;
            double y = 0;
            const double dX0 = from - lastX;
            motion.steps_combined({dX0, 0, 0}, false);
            lastX = lastX + dX0;
            YatX(from);
            double t = oldtime;
            double dt = kFirstDt;
            while (x < to) {
                const double xprev = x;
                // Advance the right edge by more than one and less than three samples.
                for (;;) {
                    t = t + dt;
                    // Past the curve's end the step is handled below; no clamp notice for it.
                    const CurvePoint at = evaluate_at(t, false);
                    x = at.x;
                    y = at.y;
                    if (x <= xprev + 1 / s && t <= tmax)
                        continue;
                    if (x > xprev + 3 / s || t > tmax) {
                        if (t >= tmax)
                            x = xprev + 3 / s;  // the curve has ended: step on by 3 samples
                        t = t - dt;
                        dt = dt / 2;
                    } else {
                        dt = dt * 1.01;
                    }
                    if (x < xprev + 3 / s)
                        break;
                    if (dt < kFinestDt)
                        break;
                }
                if (dt < kFinestDt) {
                    dt = kRestartDt;
                    log("Not converged in calculating fine milling.", true);
                }
                // The saw top is the lower of the profile under its two edges.
                double searched = 0;
                y = lower(y, sampler_.YatX(x - w, searched));
                if (std::fabs(y - lastDrawY) > pixY || std::fabs(x - lastDrawX) > pixX) {
                    drawsaw(x - w, y, true);
                    lastDrawX = x;
                    lastDrawY = y;
                }
                const double dX = (x - w) - lastX;
                motion.steps_combined({dX, y - lastY, 0}, false);
                lastX = lastX + dX;
                lastY = y;
            }
            motion.steps('B', 0, true);
            lastY = 0;
        }
        motion.steps('Z', jobheight / Heightdivisor, true);
        run_done();
    }
    return false;
}

}  // namespace ostrivane
