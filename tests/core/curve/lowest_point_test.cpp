#include "core/curve/lowest_point.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <utility>
#include <vector>

#include "core/curve/spline_points.h"
#include "curve_fixture.h"
#include "support/dense_curve.h"

namespace ostrivane {
namespace {

struct Case {
    const char* name;
    std::vector<std::pair<double, double>> points;
};

// Beads, a V, a notch, steps, and a curve that swings back in x at its steep flanks.
const std::vector<Case>& cases() {
    static const std::vector<Case> all = {
        {"bead", {{0, 30}, {10, 30}, {14, 30}, {15, 26}, {16, 30}, {20, 30}, {34, 30}}},
        {"V dip", {{0, 30}, {10, 30}, {15, 12}, {20, 30}, {34, 30}}},
        {"notch", {{0, 30}, {10, 30}, {10.2, 15}, {11.5, 15}, {11.7, 30}, {34, 30}}},
        {"steps", {{0, 20}, {10, 20}, {10.1, 35}, {20, 35}, {20.1, 25}, {34, 25}}},
        {"folds", {{0, 30}, {10, 30}, {11, 15}, {12, 30}, {22, 30}, {23, 10}, {24, 30}, {34, 29}}},
        {"flat", {{0, 30}, {10, 30}, {20, 30}, {34, 30}}},
    };
    return all;
}

// Against a reading of 400,000 points: never above a real point of the curve over the range,
// and never below the curve around it.
TEST(LowestPoint, AgreesWithADenseReadingOverAnyRange) {
    std::mt19937 random(26);
    std::uniform_real_distribution<double> where(-2, 36);
    std::uniform_real_distribution<double> width(0, 8);
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.name);
        test::PlotFixture plot;
        TBetaSPLpoints curve{plot.grita};
        curve.set_data(4.5, 10, true);
        for (const auto& [x, y] : c.points)
            curve.save_point(x, y);
        const test::DenseCurve dense(curve, 400000);
        LowestPoint lowest;
        for (int k = 0; k < 2000; ++k) {
            const double left = where(random);
            const double right = left + (k % 10 == 0 ? 0.0 : width(random));
            const double found = lowest.under(curve, left, right);
            // A range may fall between the dense points; a hair around it holds some.
            const double around = dense.lowest(left - 1e-3, right + 1e-3);
            if (std::isinf(around)) {
                EXPECT_TRUE(std::isinf(found)) << left << " … " << right;
                continue;
            }
            EXPECT_LE(found, dense.lowest(left, right) + 1e-9) << left << " … " << right;
            EXPECT_GE(found, around - 1e-4) << left << " … " << right;
        }
    }
}

TEST(LowestPoint, NothingUnderARangeBesideTheCurve) {
    test::PlotFixture plot;
    TBetaSPLpoints curve{plot.grita};
    curve.set_data(4.5, 10, true);
    for (const auto& [x, y] : cases().front().points)
        curve.save_point(x, y);
    LowestPoint lowest;
    EXPECT_EQ(lowest.under(curve, 40, 50), std::numeric_limits<double>::infinity());
    EXPECT_EQ(lowest.under(curve, 5, 4), std::numeric_limits<double>::infinity());
    EXPECT_TRUE(lowest.doubling_back(curve).empty());
}

TEST(LowestPoint, TheRangesWhereTheCurveRunsBackAreNamed) {
    test::PlotFixture plot;
    TBetaSPLpoints curve{plot.grita};
    curve.set_data(4.5, 10, true);
    for (const auto& [x, y] : cases()[4].points)
        curve.save_point(x, y);
    LowestPoint lowest;
    const std::vector<XRange>& back = lowest.doubling_back(curve);
    ASSERT_FALSE(back.empty());
    for (const XRange& r : back) {
        EXPECT_LT(r.from, r.to);
        EXPECT_GT(r.from, 10);
        EXPECT_LT(r.to, 24);
    }
}

}  // namespace
}  // namespace ostrivane
