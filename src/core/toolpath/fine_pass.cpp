#include <cmath>
#include <cstdint>
#include <optional>

#include "core/toolpath/fine_heights.h"
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
    FineHeights heights(lowest_point_, profile, w);
    const auto below_home = [&] {
        fail("Y-axis is going negative, stopswitch will burn!!!");
        return Outcome::failed;
    };
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
        // One settled step: drawn when it has moved far enough from the last saw shown, and
        // written. x is the saw's right edge.
        const auto write_step = [&](SawTop step) {
            const double x = step.left + w;
            const double y = step.top;
            if (std::fabs(y - lastDrawY) > pixY || std::fabs(x - lastDrawX) > pixX) {
                show_saw(step.left, y, true);
                lastDrawX = x;
                lastDrawY = y;
            }
            head.at_saw(step.left);
            head.xy_to(step.left, y, false);
        };
        for (int p = 1; p <= profile.NoParts; ++p) {
            const double from = higher(profile.fromX[p], profile.XminX);
            const double to = lower(profile.ToX[p], profile.XmaxX);
            // The saw is guided by its right edge.
            double x = from + w;
            double y = 0;
            head.at_saw(from);
            head.xy_to(from, 0, false);
            heights.start(from);
            profile.YatX(from);
            double t = profile.oldtime;
            double dt = kFirstDt;
            while (x < to) {
                const double xprev = x;
                bool past_end = false;
                // Advance the right edge by more than one and less than three samples.
                for (;;) {
                    t = t + dt;
                    // Past the curve's end the step is handled below; no clamp notice for it.
                    const CurvePoint at = profile.evaluate_at(t, false);
                    x = at.x;
                    y = at.y;
                    past_end = false;
                    if (x <= xprev + 1 / s && t <= tmax)
                        continue;
                    if (x > xprev + 3 / s || t > tmax) {
                        if (t >= tmax) {
                            x = xprev + 3 / s;  // the curve has ended: step on by 3 samples
                            past_end = true;
                        }
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
                // The saw top is the lower of the profile under its two edges, unless the
                // moves to and from it would reach into the profile between them.
                const std::optional<CurvePoint> on_curve =
                    past_end ? std::nullopt : std::optional<CurvePoint>(CurvePoint{x, y});
                double searched = 0;
                y = lower(y, sampler_.YatX(x - w, searched));
                if (const auto settled = heights.next({x - w, y}, on_curve))
                    write_step(*settled);
                if (heights.below_home())
                    return below_home();
            }
            if (const auto settled = heights.finish())
                write_step(*settled);
            head.home(Axis::Y, true);
        }
        head.by(Axis::Z, job.jobheight / job.Heightdivisor, true);
        run_done();
    }
    return Outcome::done;
}

}  // namespace ostrivane
