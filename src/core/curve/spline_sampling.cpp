#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstring>
#include <limits>

#include "core/curve/sample_walk.h"
#include "core/curve/spline_points.h"
#include "core/curve/spline_search.h"
#include "core/text/number_format.h"

namespace ostrivane {

namespace {
// Rounding noise of a flat stretch is far below this; a real slope at the finest resolution
// is far above it.
constexpr double kFlat = 1e-9;
// Far beyond any real profile (100 m at 1000 samples/mm), and still walked in seconds.
constexpr double kMaxSamples = 1e8;
// How often the walk lets its host breathe, in evaluations.
constexpr std::uint64_t kPumpEvery = 1u << 16;
}  // namespace

std::uint64_t TBetaSPLpoints::curve_fingerprint() const {
    // FNV-1a over everything an evaluation reads; only used to catch a missed curve_changed().
    std::uint64_t hash = 1469598103934665603ull;
    const auto mix = [&](const data& arr) {
        for (int k = -1; k <= std::min(Nopoints + 1, data::last); ++k) {
            std::uint64_t bits = 0;
            std::memcpy(&bits, &arr[k], sizeof bits);
            hash = (hash ^ bits) * 1099511628211ull;
        }
    };
    mix(X.V);
    mix(Y.V);
    mix(alpha1);
    mix(alpha2);
    return hash ^ static_cast<std::uint64_t>(Nopoints);
}

void TBetaSPLpoints::check_coarse_scan() {
#ifndef NDEBUG
    // A full check costs a pass over the curve; every 32nd use still catches any writer that
    // forgets curve_changed().
    if (++scan_uses_ % 32 == 1) {
        assert(scan_fingerprint_ == curve_fingerprint() && "curve written without curve_changed()");
    }
#endif
}

void TBetaSPLpoints::make_coarse_scan() {
    scan_.t.clear();
    scan_.x.clear();
    scan_.y.clear();
    scan_.reach.clear();
    const double tmax = segments() - 1e-11;
    double reach = -std::numeric_limits<double>::infinity();
    // Exactly the parameters the forward scan of YatX visits, accumulated the same way.
    double t = 0;
    while (t < tmax) {
        double x = 0;
        double y = 0;
        evaluate(t, x, y);
        reach = std::isnan(x) ? std::numeric_limits<double>::infinity() : std::max(reach, x);
        scan_.t.push_back(t);
        scan_.x.push_back(x);
        scan_.y.push_back(y);
        scan_.reach.push_back(reach);
        t = t + kCoarseStep;
    }
    scan_.t.push_back(t);  // the first parameter at or past tmax
    scan_.generation = curve_generation();
    scan_.Nopoints = Nopoints;
#ifndef NDEBUG
    scan_fingerprint_ = curve_fingerprint();
    scan_uses_ = 0;
#endif
}

double TBetaSPLpoints::YatX(double X_Value) {
    return YatX(X_Value, [this](double t, double& x, double& y) { evaluate(t, x, y); });
}

Outcome TBetaSPLpoints::Calcgradients(JobContext* job) {
    // Below one sample per millimetre the walk could never advance (a negative step never
    // reaches the next sample); it would loop for ever.
    if (!(steps_mm_x >= 1)) {
        message("Spline samples/mm must be at least 1");
        GradCounter = 0;
        return Outcome::failed;
    }
    const double h = 1 / steps_mm_x;
    double x0 = 0;
    double y0 = 0;
    evaluate(0, x0, y0);
    // A profile from a damaged file can span astronomical lengths; walking it at the machine's
    // resolution would never end. A real one stays far below this.
    const double expected_samples = (XmaxX - x0) * steps_mm_x;
    if (!(expected_samples <= kMaxSamples)) {
        message("The profile is too long to sample at this resolution");
        GradCounter = 0;
        return Outcome::failed;
    }
    const std::uint64_t budget = sample_walk_budget(expected_samples);
    std::uint64_t evaluations = 0;
    YminY = YatX(XmaxX);
    YmaxY = YminY;
    GradCounter = 0;
    Nostep = step_count(round_half_even(steps_mm_x));
    double dy = 0;
    double dt = 0.01;
    double t = 0;
    double xa = 0;
    double ya = 0;
    evaluate(0, xa, ya);
    const double tend = segments();
    while (XmaxX - h > xa && t < tend - 1e-10) {
        // Find the next sample between h and 2h further in x. The search looks past the end
        // of the curve on purpose and handles that itself, so those looks are not reported.
        CurvePoint b;
        bool cancelled = false;
        const bool found = next_sample([this](double at) { return evaluate_at(at, false); },
                                       [&](double x) {
                                           if (++evaluations % kPumpEvery == 0 && job != nullptr) {
                                               job->progress(x - x0, XmaxX - x0);
                                               job->pump();
                                               cancelled = job->cancelled();
                                               if (cancelled)
                                                   return false;
                                           }
                                           return evaluations <= budget;
                                       },
                                       xa, h, tend, PastTheEnd::FullStep, t, dt, b);
        if (!found) {
            message(cancelled ? std::string("Calculating the turning points was cancelled")
                              : "The profile is too irregular to sample at this resolution: its "
                                "turning points were given up after " +
                                    std::to_string(budget) + " curve evaluations");
            return Outcome::failed;
        }
        const double xb = b.x;
        const double yb = b.y;
        if (dt < 1e-10 / 3) {
            message("Not converged calculating spline gradients...");
            dt = 0.001;
        }
        const double dyprev = dy;
        dy = yb - ya;
        // A flat stretch evaluates with rounding noise in y; counting that as rises and falls
        // would make a cylinder look like hundreds of turns.
        if (std::fabs(dy) < kFlat)
            dy = 0;
        xa = xb;
        ya = yb;
        if (GradCounter == 0 || (dyprev > 0 && dy <= 0) || (dyprev <= 0 && dy > 0)) {
            if (GradCounter == kMaxGradients) {
                message("Too many gradients....");
                leave_oldtime_at_last_turn();
                return Outcome::failed;
            }
            gradient_rec& turn = GradientsArray[GradCounter + 1];
            turn.positionX = xb;
            turn.positive = dy > 0;
            turn.depth = 0;
            YmaxY = std::max(YmaxY, yb);
            YminY = std::min(YminY, yb);
            dt = 0.01;
            ++GradCounter;
        }
    }
    leave_oldtime_at_last_turn();
    return Outcome::done;
}

void TBetaSPLpoints::leave_oldtime_at_last_turn() {
    // The walk used to look up the height of each turning point as it found it; what reads
    // oldtime next (the fine pass) still finds it where that last look-up left it.
    if (GradCounter > 0)
        YatX(GradientsArray[GradCounter].positionX);
}

}  // namespace ostrivane
