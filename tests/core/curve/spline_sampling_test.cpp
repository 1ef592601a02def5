#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>
#include <vector>

#include "core/curve/spline_points.h"
#include "curve_fixture.h"
#include "literal_yatx.h"
#include "support/near.h"

namespace ostrivane {
namespace {

using test::near;

class SplineSamplingTest : public ::testing::Test {
  protected:
    void profile(const std::vector<std::pair<double, double>>& pts, double steps_mm = 10,
                 bool matched = false) {
        set.destroy_points(-1e9, -1e9, 1e9, 1e9);
        set.set_data(1, steps_mm, matched);
        for (const auto& [x, y] : pts)
            set.save_point(x, y);
    }
    std::vector<gradient_rec> turns() const {
        std::vector<gradient_rec> out;
        for (int i = 1; i <= set.GradCounter; ++i)
            out.push_back(set.GradientsArray[i]);
        return out;
    }
    int critical_messages() const {
        int count = 0;
        for (const auto& m : plot.messages)
            count += m.critical ? 1 : 0;
        return count;
    }

    test::PlotFixture plot;
    TBetaSPLpoints set{plot.grita};
};

// Random profiles (plain, matched, with shape values, with x folding back) and x positions
// left of, on and right of them: the shipped search must give the literal result bit for bit.
TEST_F(SplineSamplingTest, FastYatXIsBitIdenticalToTheLiteralSearch) {
    std::mt19937 random(4711);
    std::uniform_real_distribution<double> unit(0, 1);
    int compared = 0;
    for (int curve = 0; curve < 60; ++curve) {
        const int points = 2 + static_cast<int>(unit(random) * (curve % 3 == 0 ? 150 : 25));
        std::vector<std::pair<double, double>> pts;
        double x = unit(random) * 50 - 25;
        for (int k = 0; k < points; ++k) {
            pts.push_back({x, unit(random) * 80});
            x += 0.05 + unit(random) * (curve % 4 == 1 ? 0.4 : 20);
        }
        profile(pts, 10, curve % 2 == 1);
        if (curve % 5 == 2) {
            for (int k = 0; k < set.Nopoints; ++k) {
                set.alpha1[k] = 0.2 + unit(random) * 6;
                set.alpha2[k] = unit(random) * 30;
            }
            set.destroy_points(-2e9, 0, -1e9, 1);  // refreshes without removing anything
        }
        if (curve % 7 == 3) {
            // Pull vertices back so that x runs backwards over stretches of the curve.
            for (int k = 1; k < set.Nopoints; k += 3)
                set.X.V[k] -= 30 * unit(random);
            set.boundaryValues(set.X.V);
        }
        const double first = set.X.Tomatch[0];
        const double last = set.X.Tomatch[set.Nopoints - 1];
        for (int q = 0; q < 20; ++q) {
            double X_Value = first + (last - first) * (unit(random) * 1.4 - 0.2);
            if (q == 0)
                X_Value = first + unit(random) * 0.3;  // the fine first step
            if (q == 1)
                X_Value = set.X.Tomatch[static_cast<int>(unit(random) * set.Nopoints)];
            double literal_time = 0;
            const double expected = test::literal_YatX(set, X_Value, literal_time);
            const double got = set.YatX(X_Value);
            ASSERT_EQ(std::bit_cast<std::uint64_t>(got), std::bit_cast<std::uint64_t>(expected))
                << "curve " << curve << " x " << X_Value;
            ASSERT_EQ(std::bit_cast<std::uint64_t>(set.oldtime),
                      std::bit_cast<std::uint64_t>(literal_time))
                << "curve " << curve << " x " << X_Value;
            ++compared;
        }
    }
    EXPECT_GE(compared, 1000);
}

TEST_F(SplineSamplingTest, EditsThroughTheSetRenewTheCachedScan) {
    profile({{0, 10}, {20, 30}, {40, 15}});
    const double before = set.YatX(30);
    set.Movable = 2;
    set.movePoint(20, 60);
    double literal_time = 0;
    EXPECT_EQ(set.YatX(30), test::literal_YatX(set, 30, literal_time));
    EXPECT_NE(set.YatX(30), before);
}

#ifndef NDEBUG
// Debug builds catch code that writes the curve directly and forgets to say so.
TEST_F(SplineSamplingTest, AWriteWithoutCurveChangedIsCaughtInDebugBuilds) {
    profile({{0, 10}, {20, 30}, {40, 15}});
    set.YatX(30);
    EXPECT_DEATH(
        {
            set.Y.V[1] = 99;
            set.YatX(30);
        },
        "curve_changed");
}
#endif

TEST_F(SplineSamplingTest, YatXFindsTheProfileAndClampsToItsEnds) {
    profile({{0, 10}, {20, 30}, {40, 15}, {60, 25}}, 10, true);
    for (int k = 0; k < 4; ++k) {
        const double y = set.YatX(set.X.Tomatch[k]);
        EXPECT_TRUE(near(y, set.Y.Tomatch[k], 0.05)) << k;
        EXPECT_TRUE(near(set.oldtime, k, 0.01)) << k;
    }
    double x0 = 0, y0 = 0;
    set.evaluate(0, x0, y0);
    EXPECT_EQ(set.YatX(-100), y0);
    EXPECT_EQ(set.oldtime, 0);
    EXPECT_TRUE(near(set.YatX(500), 25, 0.05));
    EXPECT_TRUE(near(set.oldtime, 3, 1e-6));
    EXPECT_TRUE(plot.messages.empty());
}

TEST_F(SplineSamplingTest, ARisingProfileTurnsOnceAtItsFirstSample) {
    profile({{0, 10}, {50, 20}, {100, 35}}, 10);
    EXPECT_EQ(set.Calcgradients(), Outcome::done);
    const auto t = turns();
    ASSERT_EQ(t.size(), 1u);
    EXPECT_TRUE(t[0].positive);
    double x0 = 0, y0 = 0;
    set.evaluate(0, x0, y0);
    EXPECT_GT(t[0].positionX - x0, 0.1);
    EXPECT_LE(t[0].positionX - x0, 0.2);
    EXPECT_EQ(set.Nostep, 10);
    // The first point itself is not sampled; the y at XmaxX is.
    EXPECT_GT(set.YminY, y0);
    // The walk leaves oldtime where the look-up of its last turning point's height leaves it.
    const double walked_oldtime = set.oldtime;
    set.YatX(t[0].positionX);
    EXPECT_EQ(set.oldtime, walked_oldtime);
    EXPECT_EQ(set.YmaxY, set.YatX(set.XmaxX));
    // The walk draws nothing.
    EXPECT_TRUE(plot.canvas.texts.empty());
}

TEST_F(SplineSamplingTest, AMaximumGivesASecondTurnFallingAfterIt) {
    profile({{0, 10}, {40, 50}, {80, 10}}, 5);
    EXPECT_EQ(set.Calcgradients(), Outcome::done);
    const auto t = turns();
    ASSERT_EQ(t.size(), 2u);
    EXPECT_TRUE(t[0].positive);
    EXPECT_FALSE(t[1].positive);
    EXPECT_TRUE(near(t[1].positionX, 40, 0.5));
    EXPECT_TRUE(near(set.YmaxY, set.YatX(t[1].positionX), 0.01));
    EXPECT_EQ(set.YminY, set.YatX(set.XmaxX));
}

// A flat profile evaluates with rounding noise in y; the noise must not count as turns.
TEST_F(SplineSamplingTest, ACylinderHasExactlyOneTurningPoint) {
    for (double steps : {10.0, 1000.0}) {
        plot.messages.clear();
        profile({{0, 20}, {37.3, 20}, {81.9, 20}, {150, 20}}, steps, true);
        EXPECT_EQ(set.Calcgradients(), Outcome::done) << steps;
        ASSERT_EQ(set.GradCounter, 1) << steps;
        EXPECT_FALSE(set.GradientsArray[1].positive);
        EXPECT_TRUE(plot.messages.empty()) << plot.messages.front().text;
    }
}

TEST_F(SplineSamplingTest, AFlatStretchAfterARiseCountsAsAFall) {
    profile({{0, 0}, {10, 0}, {20, 10}, {30, 20}, {40, 20}, {50, 20}, {60, 20}, {70, 20}}, 10);
    EXPECT_EQ(set.Calcgradients(), Outcome::done);
    const auto t = turns();
    ASSERT_GE(t.size(), 2u);
    EXPECT_FALSE(t.back().positive);
    EXPECT_GT(t.back().positionX, 30);
}

TEST_F(SplineSamplingTest, TheWalksLookAheadsPastTheEndAreNotReported) {
    // Unmatched, the curve ends well short of its last point, so the walk runs into the end
    // of the parameter range while still looking for its next sample.
    profile({{0, 10}, {30, 40}, {60, 20}, {90, 25}}, 1000, false);
    static_cast<void>(set.Calcgradients());
    EXPECT_EQ(critical_messages(), 0);
    EXPECT_GE(set.GradCounter, 2);
}

// Below one sample per millimetre the walk cannot advance; it is refused instead of looping.
TEST_F(SplineSamplingTest, AResolutionBelowOneSamplePerMillimetreIsRefused) {
    for (double steps : {0.0, -5.0, 0.4}) {
        profile({{0, 10}, {50, 20}}, steps);
        plot.messages.clear();
        EXPECT_EQ(set.Calcgradients(), Outcome::failed);
        EXPECT_EQ(set.GradCounter, 0);
        EXPECT_EQ(plot.texts(), std::vector<std::string>{"Spline samples/mm must be at least 1"});
    }
    EXPECT_EQ(set.Nostep, 0);
}

TEST_F(SplineSamplingTest, AnAstronomicallyLongProfileIsNotWalked) {
    profile({{0, 10}, {1e12, 20}}, 1000);
    plot.messages.clear();
    EXPECT_EQ(set.Calcgradients(), Outcome::failed);
    EXPECT_EQ(set.GradCounter, 0);
    EXPECT_EQ(plot.texts(),
              std::vector<std::string>{"The profile is too long to sample at this resolution"});
}

// A long stretch shrinks the search step; a dense run of points after it would then cost
// millions of evaluations per sample. The walk gives up within its budget instead.
TEST_F(SplineSamplingTest, AWalkThatWouldTakeForeverIsGivenUp) {
    std::vector<std::pair<double, double>> points = {{0, 0}, {1000, 10}};
    for (int k = 1; k <= 9000; ++k)
        points.push_back({1000 + k * 1e-5, 10 + (k % 2) * 1e-3});
    points.push_back({1010, 20});
    profile(points, 1, false);
    plot.messages.clear();
    EXPECT_EQ(set.Calcgradients(), Outcome::failed);
    ASSERT_EQ(plot.messages.size(), 1u);
    EXPECT_EQ(plot.messages[0].text.rfind("The profile is too irregular to sample", 0), 0u)
        << plot.messages[0].text;
}

TEST_F(SplineSamplingTest, ACancelledWalkStopsWithANotice) {
    struct CancelAtOnce : JobContext {
        bool cancelled() const override { return true; }
        void pump() override { ++pumps; }
        int pumps = 0;
    } job;
    profile({{0, 10}, {400, 50}, {800, 10}}, 1000);
    plot.messages.clear();
    EXPECT_EQ(set.Calcgradients(&job), Outcome::failed);
    EXPECT_EQ(job.pumps, 1);
    EXPECT_EQ(plot.texts(),
              std::vector<std::string>{"Calculating the turning points was cancelled"});
    // Without a cancel the same walk completes.
    JobContext plain;
    EXPECT_EQ(set.Calcgradients(&plain), Outcome::done);
    EXPECT_EQ(set.GradCounter, 2);
}

TEST_F(SplineSamplingTest, MoreThanThreeHundredTurnsAreRefused) {
    std::vector<std::pair<double, double>> zigzag;
    for (int k = 0; k < 320; ++k)
        zigzag.push_back({k * 5.0, (k % 2) * 10.0});
    profile(zigzag, 2);
    EXPECT_EQ(set.Calcgradients(), Outcome::failed);
    EXPECT_EQ(set.GradCounter, 300);
    EXPECT_EQ(plot.texts(), std::vector<std::string>{"Too many gradients...."});
    // The entries kept are in ascending x and alternate in direction.
    for (int i = 2; i <= 300; ++i) {
        ASSERT_LT(set.GradientsArray[i - 1].positionX, set.GradientsArray[i].positionX);
        ASSERT_NE(set.GradientsArray[i - 1].positive, set.GradientsArray[i].positive);
    }
}

}  // namespace
}  // namespace ostrivane
