#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "core/curve/spline_points.h"
#include "curve_fixture.h"
#include "support/near.h"

namespace ostrivane {
namespace {

using test::near;
using XY = std::pair<double, double>;

class SplineTransformsTest : public ::testing::Test {
  protected:
    void profile(const std::vector<XY>& pts) {
        for (const auto& [x, y] : pts)
            set.save_point(x, y);
        plot.messages.clear();
    }
    std::vector<XY> points() const {
        std::vector<XY> out;
        for (int k = 0; k < set.Nopoints; ++k)
            out.emplace_back(set.X.Tomatch[k], set.Y.Tomatch[k]);
        return out;
    }

    test::PlotFixture plot;
    TBetaSPLpoints set{plot.grita};
};

TEST_F(SplineTransformsTest, TransferPutsTheFirstPointOnThePositionAndMovesThePartsAlong) {
    profile({{10, 5}, {20, 8}, {30, 2}});
    set.save_part(12, 18);
    set.transfer(0, 0);
    EXPECT_EQ(points(), (std::vector<XY>{{0, 0}, {10, 3}, {20, -3}}));
    EXPECT_EQ(set.fromX[1], 2);
    EXPECT_EQ(set.ToX[1], 8);
    EXPECT_EQ(set.XmaxX, 20 - 0.01);
    EXPECT_EQ(set.X.V[1], 10);  // unmatched: vertices follow the points
    EXPECT_EQ(plot.texts(), std::vector<std::string>{"Moving complete spline done"});
}

TEST_F(SplineTransformsTest, MirrorFlipsYAboutTheMeanAndTwiceRestoresIt) {
    profile({{0, 1}, {10, 2}, {20, 6}});
    set.mirror();
    EXPECT_EQ(points(), (std::vector<XY>{{0, 5}, {10, 4}, {20, 0}}));
    set.mirror();
    EXPECT_EQ(points(), (std::vector<XY>{{0, 1}, {10, 2}, {20, 6}}));
    EXPECT_EQ(plot.texts(), (std::vector<std::string>{"Mirror spline around spline mean done",
                                                      "Mirror spline around spline mean done"}));
}

TEST_F(SplineTransformsTest, SwapTurnsTheSetEndForEndButKeepsShapesAndMarksInTheirSlots) {
    profile({{0, 1}, {2, 2}, {10, 3}});
    set.alpha1[0] = 4;
    set.selected[0] = true;
    set.swap();
    const auto p = points();
    ASSERT_EQ(p.size(), 3u);
    EXPECT_TRUE(near(p[0].first, 0, 1e-12));
    EXPECT_TRUE(near(p[1].first, 8, 1e-12));
    EXPECT_TRUE(near(p[2].first, 10, 1e-12));
    EXPECT_EQ(p[0].second, 3);
    EXPECT_EQ(p[2].second, 1);
    EXPECT_EQ(set.alpha1[0], 4);
    EXPECT_TRUE(set.selected[0]);
    EXPECT_EQ(plot.texts(), std::vector<std::string>{"Swapping spline around spline mean done"});
}

TEST_F(SplineTransformsTest, ScaleMapsTheSampledRangesOntoTheBox) {
    profile({{0, 10}, {40, 50}, {80, 10}});
    set.save_part(20, 60);
    static_cast<void>(set.Calcgradients());
    const double y_lo = set.YminY, y_hi = set.YmaxY;
    const double x_lo = set.XminX, x_hi = set.XmaxX;
    const auto before = points();
    // Into its own ranges: nothing moves (up to rounding).
    set.Scale(x_lo, y_lo, x_hi, y_hi);
    for (std::size_t k = 0; k < before.size(); ++k) {
        EXPECT_TRUE(near(points()[k].first, before[k].first, 1e-9));
        EXPECT_TRUE(near(points()[k].second, before[k].second, 1e-9));
    }
    // Twice as wide, half as high, shifted.
    set.Scale(x_lo + 100, 0, x_lo + 100 + 2 * (x_hi - x_lo), (y_hi - y_lo) / 2);
    EXPECT_TRUE(near(set.X.Tomatch[1], 100 + 2 * (40 - x_lo) + x_lo, 1e-9));
    EXPECT_TRUE(near(set.Y.Tomatch[1], (50 - y_lo) / 2, 1e-9));
    EXPECT_TRUE(near(set.fromX[1], 100 + x_lo + 2 * (20 - x_lo), 1e-9));
    EXPECT_EQ(plot.texts().back(), "Scaling done");
}

TEST_F(SplineTransformsTest, ScaleRefusesWhatItCannotDivideBy) {
    struct Case {
        std::vector<XY> pts;
        std::string message;
    };
    const Case cases[] = {
        {{}, "Scaling needs a spline of at least two points"},
        {{{5, 5}}, "Scaling needs a spline of at least two points"},
        {{{0, 20}, {50, 20}, {90, 20}}, "Scaling is not possible: the spline has no height"},
        {{{0, 20}, {0.02, 30}}, "Scaling is not possible: the spline has no length"},
    };
    for (const Case& c : cases) {
        set.destroy_points(-1e9, -1e9, 1e9, 1e9);
        profile(c.pts);
        set.Scale(0, 0, 100, 100);
        EXPECT_EQ(points(), c.pts);
        ASSERT_FALSE(plot.messages.empty());
        EXPECT_EQ(plot.texts().back(), c.message);
    }
}

// Without the sampled height the points would land at wrong heights: a walk that fails stops
// the scaling, and "Scaling done" is only said when it is carried out.
TEST_F(SplineTransformsTest, ScaleStopsWhenItsOwnSamplingFails) {
    profile({{0, 10}, {40, 50}, {80, 10}});
    set.set_data(1, 0.4, false);
    const auto before = points();
    plot.messages.clear();
    set.Scale(0, 0, 100, 100);
    EXPECT_EQ(points(), before);
    EXPECT_EQ(plot.texts(),
              (std::vector<std::string>{
                  "Spline samples/mm must be at least 1",
                  "Scaling is not possible: the height of the spline could not be sampled"}));
}

TEST_F(SplineTransformsTest, CircleAddsTheUpperHalf) {
    set.circle(0, 0, 20, 4);
    const auto p = points();
    ASSERT_EQ(p.size(), 5u);
    // Sorted by x: 180°, 135°, 90°, 45°, 0°.
    for (int k = 0; k < 5; ++k) {
        const double angle = std::numbers::pi / 4 * (4 - k);
        EXPECT_TRUE(near(p[k].first, std::cos(angle) * 10, 1e-12)) << k;
        EXPECT_TRUE(near(p[k].second, std::sin(angle) * 10, 1e-12)) << k;
    }
    EXPECT_TRUE(plot.messages.empty());
    set.circle(0, 0, 20, 0);
    EXPECT_EQ(plot.texts(), std::vector<std::string>{"A circle needs at least one support point"});
    set.circle(0, 0, 20, -1);  // negative: nothing
    EXPECT_EQ(set.Nopoints, 5);
    plot.messages.clear();
    set.circle(0, 0, 20, 2);  // 0°, 90°, 180° hit existing x: refused one by one
    EXPECT_EQ(set.Nopoints, 5);
    EXPECT_EQ(plot.texts(), std::vector<std::string>(3, "Double points are not allowed !!!"));
}

TEST_F(SplineTransformsTest, CircleStopsAtAFullSet) {
    test::fill_points(set, BetaSpline::kMaxPoints - 4, 100);
    set.circle(0, 0, 20, 1000000000);
    EXPECT_EQ(set.Nopoints, BetaSpline::kMaxPoints);
    // A few points of so dense a circle share an x and are refused on the way; the set being
    // full ends the circle with one message instead of a billion.
    const auto texts = plot.texts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back(), "Maximum number of spline points exceeded !!!");
    EXPECT_EQ(std::count(texts.begin(), texts.end(), texts.back()), 1);
}

}  // namespace
}  // namespace ostrivane
