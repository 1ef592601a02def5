#include <cmath>
#include <cstdint>
#include <limits>

#include "core/text/number_format.h"
#include "core/toolpath/tgrad.h"

namespace ostrivane {
namespace {

// Below this the job height counts as zero: a round workpiece, cut by plunges alone.
constexpr double kNoHeight = 0.000001;
// Where a saw counts as lying wholly inside a slot; slots are laid out to a saw width exactly.
constexpr double kSlotFit = 0.000001;

double lower(double a, double b) {
    return a < b ? a : b;
}

}  // namespace

PlungeRule TGrad::with_limits(PlungeRule rule, double x) {
    const double w = profile.mill_width;
    // The profile's readings at the saw's edges and at the sampled turning points it covers ...
    double lowest = lower(profile.YatX(x), profile.YatX(x + w));
    for (int k = 1; k <= profile.GradCounter; ++k) {
        const double at = profile.GradientsArray[k].positionX;
        if (at >= x && at <= x + w)
            lowest = lower(lowest, profile.YatX(at));
    }
    // ... and the curve's own lowest point under the blade, on every branch of it: a dip
    // narrower than the sampling, or an undercut that YatX reads on one branch only, still
    // holds the saw back.
    lowest = lower(lowest, lowest_point_.under(profile, x, x + w));
    double depth = 0;
    for (const toothrec& slot : merged_slots) {
        if (x >= slot.posleft - kSlotFit && x + w <= slot.posright + kSlotFit) {
            depth = slot.depth;
            break;
        }
    }
    rule.limit = lowest - job.HoldBack + depth;
    rule.floor = lowest + depth;
    return rule;
}

Outcome TGrad::write_plunge(MoveStream& head, const PlungeRule& rule, double x, double drawn) {
    const PlungeDecision d = judge_plunge(rule, drawn, job.draaias);
    if (d.fault != PlungeFault::none) {
        fail(d.fault == PlungeFault::axis_cut ? "Turning axis is cut to pieces !!!"
                                              : "Y-axis is going negative, stopswitch will burn!!!",
             true);
        return Outcome::failed;
    }
    if (d.limited && !plunge_limit_logged_) {
        plunge_limit_logged_ = true;
        log("Plunge limited to the profile at X = " + format_fixed(x, 3), false);
    }
    head.at_saw(x);
    head.plunge(d.written);
    head.dwell(job.roughdelayer);
    if (job.jobheight > kNoHeight)
        head.by(Axis::Z, job.jobheight + job.startposZ, true);
    head.home(Axis::Y, true);
    if (job.jobheight > kNoHeight)
        head.home(Axis::Z, true);
    show_saw(x, d.drawn, false);
    return Outcome::done;
}

Outcome TGrad::roughpass(MoveStream& head) {
    notify("Action Rough");
    head.begin(PassKind::rough);
    head.restart_x();
    const double w = profile.mill_width;
    const int n = static_cast<std::uint16_t>(gradCounter2);
    if (job.jobheight < kNoHeight)
        head.by(Axis::Z, job.startposZ, true);
    const auto& E = gradientsArray2;
    for (int r = 1; r <= job.NoRuns; ++r) {
        head.begin(PassKind::rough, static_cast<std::uint16_t>(r));
        for (int k = 1; k <= n; ++k) {
            const gradient_rec& e = E[k];
            head.at_saw(e.positionXleft);
            head.to(Axis::X, e.positionXleft, true);
            // The gap up to the next listed saw, filled with plunges at most a saw width apart.
            const double c = k < n ? E[k + 1].positionXleft - w - e.positionXleft
                                   : profile.XmaxX - e.positionXleft - w;
            const double widths = c / w;
            const std::int64_t m = widths >= 0 ? static_cast<std::int64_t>(std::ceil(widths)) : 0;
            const double s = m == 0 ? 0 : c / static_cast<double>(m);

            const double Y =
                e.positionYleft * r / job.NoRuns - job.HoldBack + r * e.depth / job.NoRuns;
            const PlungeRule listed =
                with_limits({Y, Y, e.positionYleft + e.depth}, e.positionXleft);
            if (failed(write_plunge(head, listed, e.positionXleft, Y)))
                return Outcome::failed;

            for (std::int64_t q = 1; q <= m; ++q) {
                const double x = e.positionXleft + static_cast<double>(q) * s;
                head.at_saw(x);
                head.to(Axis::X, x, false);
                // Where the profile rises after the entry the saw's left edge is its lowest
                // point, where it falls the right edge; before the turn the listed height holds.
                double height = 0;
                if (e.positive && x < e.positionX)
                    height = e.positionYleft;
                else if (e.positive)
                    height = profile.YatX(x);
                else
                    height = profile.YatX(x + w);
                const double Yq = height * r / job.NoRuns + r * e.depth / job.NoRuns;
                const PlungeRule between =
                    with_limits({Yq, Yq - job.HoldBack, height + e.depth}, x);
                if (failed(write_plunge(head, between, x, Yq)))
                    return Outcome::failed;
            }
        }
        run_done();
    }
    if (job.jobheight < kNoHeight)
        head.home(Axis::Z, true);
    return Outcome::done;
}

Outcome TGrad::fastroughpass(MoveStream& head) {
    notify("Action fast rough");
    head.begin(PassKind::fast_rough);
    head.restart_x();
    const double w = profile.mill_width;
    if (job.jobheight < kNoHeight)
        head.by(Axis::Z, job.startposZ, true);
    for (int r = 1; r <= job.NoRuns; ++r) {
        head.begin(PassKind::fast_rough, static_cast<std::uint16_t>(r));
        double x = profile.XminX;
        while (x + w < profile.XmaxX) {
            head.at_saw(x);
            head.to(Axis::X, x, true);
            const double left = profile.YatX(x);
            const double right = profile.YatX(x + w);
            const double Y = lower(left * r / job.NoRuns, right * r / job.NoRuns);
            // The fast pass plunges to the lower of the saw's two edges, held back where the
            // profile dips lower between them.
            const PlungeRule plunge = with_limits({Y, Y - job.HoldBack, lower(left, right)}, x);
            if (failed(write_plunge(head, plunge, x, Y)))
                return Outcome::failed;
            x = x + w;
        }
        run_done();
    }
    if (job.jobheight < kNoHeight)
        head.home(Axis::Z, true);
    return Outcome::done;
}

}  // namespace ostrivane
