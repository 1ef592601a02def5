#include "core/check/design_curve.h"

#include <gtest/gtest.h>

#include <random>

#include "core/text/message_sink.h"
#include "design_oracle.h"

namespace ostrivane {
namespace {

// A profile that doubles back twice (a Z-shaped undercut with a branch below y = 0), a V and
// a row of steps: the design agrees with a dense reading of the curve, every branch of it.
TEST(DesignCurve, ReadsEveryBranchOfTheCurve) {
    const std::vector<std::vector<CurvePoint>> profiles = {
        {{0, 20}, {10, 20}, {18, 12}, {12, 6}, {16, -2}, {24, 20}, {34, 20}},
        {{0, 20}, {10, 20}, {15, 2}, {20, 20}, {30, 20}},
        {{0, 10}, {10, 10}, {10.5, 20}, {20, 20}, {20.5, 10}, {30, 10}},
    };
    SilentSink notices;
    std::mt19937 random(7);
    for (std::size_t p = 0; p < profiles.size(); ++p) {
        SCOPED_TRACE(p);
        BetaSpline curve(false, notices);
        test::load_points(curve, profiles[p]);
        const double from = profiles[p].front().x + 0.01;
        const double to = profiles[p].back().x - 0.01;
        const DesignCurve design(curve, from, to);
        const test::DenseCurve dense(curve, from, to);
        DesignCurve::Walker walker(design);
        for (double x = from - 0.5; x < to + 0.5; x += 0.0371) {
            const double want = dense.at(x);
            if (std::isinf(want)) {
                EXPECT_TRUE(std::isinf(design.at(x))) << x;
                continue;
            }
            ASSERT_NEAR(design.at(x), want, 1e-4) << x;
            ASSERT_NEAR(walker.at(x), want, 1e-4) << x;
        }
        std::uniform_real_distribution<double> where(from - 1, to + 1), width(0, 8), slope(-3, 3);
        for (int k = 0; k < 300; ++k) {
            const double a = where(random);
            const double b = a + width(random);
            const double s = k % 3 == 0 ? 0.0 : slope(random);
            const double want = dense.lowest_below_line(a, b, a, 5, s);
            const DesignLow got = design.lowest_below_line(a, b, a, 5, s);
            if (std::isinf(want)) {
                EXPECT_TRUE(std::isinf(got.value));
                continue;
            }
            ASSERT_NEAR(got.value, want, 1e-4) << a << " " << b << " " << s;
            // Where it found the least, the line is that far below the design.
            ASSERT_NEAR(design.at(got.x) - 5 - s * (got.x - a), got.value, 1e-4);
        }
    }
}

}  // namespace
}  // namespace ostrivane
