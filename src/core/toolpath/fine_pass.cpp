#include <cmath>
#include <cstdint>

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

Outcome TGrad::finepass(MoveStream& head) {
    const double w = profile.mill_width;
    const double s = profile.steps_mm_x;
    const double tmax = profile.segments() - 0.00000000001;
    head.begin(PassKind::fine);
    head.by(Axis::Z, job.startposZ, true);
    head.to(Axis::X, profile.XminX, true);
    const int runs = static_cast<std::uint16_t>(job.Heightdivisor);
    for (int run = 1; run <= runs; ++run) {
        notify("Action fine milling");
        head.begin(PassKind::fine, static_cast<std::uint16_t>(run));
        // The view decides how far apart two saws it shows must be.
        const CurvePoint spacing = view_ != nullptr ? view_->fine_spacing() : CurvePoint{};
        const double pixX = spacing.x;
        const double pixY = spacing.y;
        double lastDrawX = 0;
        double lastDrawY = 0;
        for (int p = 1; p <= profile.NoParts; ++p) {
            const double from = higher(profile.fromX[p], profile.XminX);
            const double to = lower(profile.ToX[p], profile.XmaxX);
            // The saw is guided by its right edge.
            double x = from + w;
            double y = 0;
            head.at_saw(from);
            head.xy_to(from, 0, false);
            profile.YatX(from);
            double t = profile.oldtime;
            double dt = kFirstDt;
            while (x < to) {
                const double xprev = x;
                // Advance the right edge by more than one and less than three samples.
                for (;;) {
                    t = t + dt;
                    // Past the curve's end the step is handled below; no clamp notice for it.
                    const CurvePoint at = profile.evaluate_at(t, false);
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
                    show_saw(x - w, y, true);
                    lastDrawX = x;
                    lastDrawY = y;
                }
                head.at_saw(x - w);
                head.xy_to(x - w, y, false);
            }
            head.home(Axis::Y, true);
        }
        head.by(Axis::Z, job.jobheight / job.Heightdivisor, true);
        run_done();
    }
    return Outcome::done;
}

}  // namespace ostrivane
