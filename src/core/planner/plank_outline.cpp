#include "core/planner/plank_outline.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/curve/sample_walk.h"
#include "core/curve/spline_points.h"
#include "core/text/error.h"

namespace ostrivane {
namespace {

// The outline is sampled once per millimetre.
constexpr double kStep = 1.0;
constexpr std::uint64_t kPumpEvery = 1u << 12;

// The curve at t without the clamp notice: the step search looks past the end on purpose.
CurvePoint point_at(const TBetaSPLpoints& curve, double t) {
    const SegmentBasis b = curve.basis(t);
    return {b.compute_Q(curve.X.V), b.compute_Q(curve.Y.V)};
}

}  // namespace

void FillSpline(const TBetaSPLpoints& profile, double turning_axis_y, double margin, double c,
                TBetaSPLpoints& planspline, JobContext& job) {
    planspline.Nopoints = 0;
    planspline.curve_changed();
    if (profile.Nopoints < 2)
        return;
    const double h = kStep;
    const double tend = profile.segments();
    CurvePoint a = point_at(profile, 0);
    double xa = a.x;
    double ya = a.y;
    const double x0 = xa;
    const double expected_samples = std::max(profile.XmaxX - x0, 0.0) / h;
    const std::uint64_t budget = sample_walk_budget(expected_samples);
    std::uint64_t evaluations = 0;
    double dt = 0.01;
    double t = 0;
    while (profile.XmaxX - h >= xa && t < tend - 1e-10) {
        // The next sample between h and 2h further in x. Unlike the turning-point walk, a look
        // past the end keeps the end point as it is.
        CurvePoint b;
        next_sample([&profile](double at) { return point_at(profile, at); },
                    [&](double x) {
                        if (++evaluations % kPumpEvery == 0) {
                            job.progress(x - x0, profile.XmaxX - x0);
                            job.pump();
                            if (job.cancelled())
                                throw Error("Filling the plank outline was cancelled");
                        }
                        if (evaluations > budget) {
                            throw Error(
                                "The profile is too irregular to sample for a plank template: the "
                                "outline was given up after " +
                                std::to_string(budget) + " curve evaluations");
                        }
                        return true;
                    },
                    xa, h, tend, PastTheEnd::EndPoint, t, dt, b);
        const double xb = b.x;
        const double yb = b.y;
        if (dt < 1e-10 / 3) {
            profile.notices().notice("Not converged filling spline...");
            dt = 0.001;
        }
        const double e = turning_axis_y - ya + margin / 2;
        const double w = std::fabs(c) >= e ? 0.0 : std::sqrt(e * e - c * c);
        if (planspline.Nopoints >= BetaSpline::kMaxPoints) {
            throw Error(
                "The profile is too long for a plank template: its outline needs more "
                "than " +
                std::to_string(BetaSpline::kMaxPoints) + " points");
        }
        planspline.save_point(xa, turning_axis_y - w);
        xa = xb;
        ya = yb;
    }
}

}  // namespace ostrivane
