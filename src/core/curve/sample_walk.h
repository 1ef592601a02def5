#pragma once
#include <algorithm>
#include <cstdint>

#include "core/curve/beta_spline.h"

namespace ostrivane {

// The walks that sample a profile at even steps of x (its turning points, a plank's outline)
// search the curve's parameter for each next sample with a step that halves when it overshoots.

// How many curve evaluations a walk may spend. An ordinary profile costs a few per sample, an
// unevenly spaced one up to about a thousand. A hostile one (a steep stretch that shrinks the
// search step, then a long gentle one) can cost millions per sample, so the walk gets a budget:
// generous per sample, with a floor for short profiles and a ceiling that keeps any walk to a
// few seconds.
inline std::uint64_t sample_walk_budget(double expected_samples) {
    constexpr double kPerSample = 1024;
    constexpr double kFloor = 1e6;
    constexpr double kCeiling = 2e8;
    return static_cast<std::uint64_t>(
        std::min(kCeiling, kFloor + kPerSample * std::max(expected_samples, 0.0)));
}

// What the search does when it looks past the curve's end (t at or beyond `tend`): take the
// sample as a full 2h step further, or keep the end point as it evaluated.
enum class PastTheEnd { FullStep, EndPoint };

// Finds the next sample between h and 2h further in x than `xa`, from parameter `t` with step
// `dt` (both carried on to the next search), and leaves it in `b`. `at(t)` evaluates the curve;
// `each(x)` hears of every evaluation and returns false to give the search up, and then so does
// this. The search stops when the step has shrunk below 1e-10 without finding such a sample.
template <typename At, typename Each>
bool next_sample(At&& at, Each&& each, double xa, double h, double tend, PastTheEnd past_the_end,
                 double& t, double& dt, CurvePoint& b) {
    for (;;) {
        t = t + dt;
        b = at(t);
        if (!each(b.x))
            return false;
        if (b.x - xa <= h && t < tend)
            continue;
        if (!(b.x - xa <= 2 * h && t < tend)) {
            if (past_the_end == PastTheEnd::FullStep && t >= tend)
                b.x = xa + 2 * h;
            t = t - dt;
            dt = dt / 2;
        }
        if (b.x - xa < 2 * h)
            return true;
        if (dt < 1e-10)
            return true;
    }
}

}  // namespace ostrivane
