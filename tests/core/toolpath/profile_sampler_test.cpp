#include "core/toolpath/profile_sampler.h"

#include <gtest/gtest.h>

#include <bit>
#include <random>

#include "toolpath_fixture.h"

namespace ostrivane {
namespace {

// The sampler must give what the curve's own search gives, to the bit, on many random curves
// and for runs of nearby x as well as for jumps, before and after the curve changes.
TEST(ProfileSampler, SameResultsAsTheCurvesSearch) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> unit(0, 1);
    test::EngineFixture f;
    TBetaSPLpoints& curve = f.engine->profile;
    ProfileSampler sampler(curve);
    for (int shape = 0; shape < 12; ++shape) {
        curve.destroy_points(-1e9, -1e9, 1e9, 1e9);
        curve.set_data(4.5, 100, shape % 2 == 0);
        const int points = 2 + static_cast<int>(random() % 40);
        double x = -5 + 10 * unit(random);
        for (int k = 0; k < points; ++k) {
            curve.save_point(x, 50 * unit(random));
            x += 0.2 + 5 * unit(random);
        }
        for (int k = 1; k <= curve.Nopoints; ++k)
            curve.alpha1[k - 1] = 0.3 + 2 * unit(random);
        curve.curve_changed();
        const double from = curve.X.Tomatch[0] - 1;
        const double to = curve.X.Tomatch[curve.Nopoints - 1] + 1;
        for (int k = 0; k < 400; ++k) {
            const double at = k % 3 == 0 ? from + (to - from) * unit(random)
                                         : from + (to - from) * k / 400.0 + 0.0021 * (k % 5);
            double sampled_time = 0;
            const double sampled = sampler.YatX(at, sampled_time);
            const double searched = curve.YatX(at);
            ASSERT_EQ(std::bit_cast<std::uint64_t>(sampled), std::bit_cast<std::uint64_t>(searched))
                << "shape " << shape << " at " << at;
            ASSERT_EQ(sampled_time, curve.oldtime);
        }
    }
}

}  // namespace
}  // namespace ostrivane
