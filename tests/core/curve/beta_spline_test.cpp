#include "core/curve/beta_spline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "curve_fixture.h"
#include "support/near.h"

namespace ostrivane {
namespace {

using test::near;

struct Pt {
    double x, y;
};

// Loads points as both the points to match and the vertices, with the given shape values.
void load(BetaSpline& s, const std::vector<Pt>& pts, double alpha1 = 1.0, double alpha2 = 1.0) {
    s.Nopoints = static_cast<int>(pts.size());
    for (int k = 0; k < s.Nopoints; ++k) {
        s.X.Tomatch[k] = s.X.V[k] = pts[k].x;
        s.Y.Tomatch[k] = s.Y.V[k] = pts[k].y;
        s.alpha1[k] = alpha1;
        s.alpha2[k] = alpha2;
    }
    s.boundaryValues(s.X.Tomatch);
    s.boundaryValues(s.Y.Tomatch);
    s.boundaryValues(s.X.V);
    s.boundaryValues(s.Y.V);
}

const std::vector<Pt> kWave = {{0, 10}, {10, 25}, {25, 5}, {30, 40}, {50, 0}, {70, 20}};

class BetaSplineTest : public ::testing::Test {
  protected:
    test::PlotFixture plot;
};

TEST_F(BetaSplineTest, UnitShapeValuesGiveTheTwoNineTwoWeightsAtIntegerTimes) {
    BetaSpline s(false, plot.grita);
    load(s, kWave);
    const int n = s.segments();
    for (int t = 0; t < n; ++t) {
        double x = 0, y = 0;
        s.evaluate(t, x, y);
        // Slot -1 holds a copy of slot 0 on an open curve.
        const auto expect = [&](const data& v) {
            return (2 * v[t - 1] + 9 * v[t] + 2 * v[t + 1]) / 13;
        };
        EXPECT_TRUE(near(x, expect(s.X.V), 1e-12)) << "t = " << t;
        EXPECT_TRUE(near(y, expect(s.Y.V), 1e-12)) << "t = " << t;
        EXPECT_EQ(s.basis(t).segment, t + 1);
        EXPECT_EQ(s.basis(t).delta, 13.0);
    }
    EXPECT_TRUE(plot.messages.empty());
}

TEST_F(BetaSplineTest, BasisSumsToDeltaAndLastWeightMatchesItsClosedForm) {
    for (double b1 : {0.5, 1.0, 2.7}) {
        for (double uu : {0.0, 0.3, 0.75, 1.0}) {
            SegmentBasis s;
            s.beta1 = b1;
            s.beta2 = 3.5;
            s.u = uu;
            s.compute_d();
            s.compute_delta();
            s.compute_a();
            EXPECT_TRUE(near(s.a[0] + s.a[1] + s.a[2] + s.a[3], s.delta, 1e-12));
            EXPECT_TRUE(near(s.a[0], 2 * b1 * b1 * b1 * std::pow(1 - uu, 3), 1e-11))
                << "beta1 " << b1 << " u " << uu;
        }
    }
}

TEST_F(BetaSplineTest, ShapeValuesBlendSmoothlyAlongASegment) {
    BetaSpline s(false, plot.grita);
    load(s, kWave);
    s.alpha1[2] = 3.0;
    s.alpha2[2] = 5.0;
    s.boundaryValues(s.X.V);
    EXPECT_DOUBLE_EQ(s.basis(1.5).beta1, 2.0);  // halfway between points 1 and 2: S(0.5) = 0.5
    EXPECT_DOUBLE_EQ(s.basis(1.5).beta2, 3.0);
    EXPECT_DOUBLE_EQ(s.basis(2.0).beta1, 3.0);  // start of segment 3 takes point 2's values
}

TEST_F(BetaSplineTest, OpenCurveClampsTimesOutsideItsRangeWithACriticalMessage) {
    BetaSpline s(false, plot.grita);
    load(s, kWave);
    const int n = s.segments();
    double xe = 0, ye = 0;
    s.evaluate(n, xe, ye);
    EXPECT_EQ(s.basis(n).segment, n);
    EXPECT_EQ(s.basis(n).u, 1.0);
    EXPECT_TRUE(plot.messages.empty());
    // At the end the weights are 2, 9, 2 around the last point, whose copy sits in slot n + 1.
    EXPECT_TRUE(near(xe, (2 * s.X.V[n - 1] + 11 * s.X.V[n]) / 13, 1e-12));

    double x = 0, y = 0;
    s.evaluate(n + 0.5, x, y);
    EXPECT_EQ(x, xe);
    EXPECT_EQ(y, ye);
    double x0 = 0, y0 = 0, xb = 0, yb = 0;
    s.evaluate(0, x0, y0);
    s.evaluate(-0.5, xb, yb);
    EXPECT_EQ(xb, x0);
    EXPECT_EQ(yb, y0);
    const std::vector<test::Message> expected = {{"time > number of spline segments: 5.5", true},
                                                 {"time < 0 : -0.5", true}};
    EXPECT_EQ(plot.messages, expected);
}

TEST_F(BetaSplineTest, ClosedCurveWrapsOnePeriodWithoutMessages) {
    BetaSpline s(true, plot.grita);
    load(s, {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}});
    const int n = s.segments();
    // Point 0 is replaced by point n; the boundary slots wrap around.
    EXPECT_EQ(s.X.V[-1], s.X.V[n - 1]);
    EXPECT_EQ(s.Y.V[n + 1], s.Y.V[1]);
    EXPECT_EQ(s.X.V[n + 2], s.X.V[2]);
    const std::vector<std::pair<double, double>> same = {
        {n + 0.25, 0.25}, {-0.25, n - 0.25}, {2 * n - 0.5, n - 0.5}, {-n + 0.5, 0.5}};
    for (const auto& [t1, t2] : same) {
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        s.evaluate(t1, x1, y1);
        s.evaluate(t2, x2, y2);
        EXPECT_TRUE(near(x1, x2, 1e-12)) << t1 << " vs " << t2;
        EXPECT_TRUE(near(y1, y2, 1e-12)) << t1 << " vs " << t2;
    }
    // A closed curve has no seam: the end meets the start.
    double xs = 0, ys = 0, xe = 0, ye = 0;
    s.evaluate(0, xs, ys);
    s.evaluate(n, xe, ye);
    EXPECT_TRUE(near(xs, xe, 1e-12));
    EXPECT_TRUE(near(ys, ye, 1e-12));
    EXPECT_TRUE(plot.messages.empty());
}

TEST_F(BetaSplineTest, MatchedCurvePassesThroughItsPoints) {
    BetaSpline s(false, plot.grita);
    load(s, kWave, 1.5, 2.0);
    ASSERT_TRUE(s.MatchAll(true, true));
    const int n = s.segments();
    double sum = 0;
    for (int t = 0; t <= n; ++t) {
        double x = 0, y = 0;
        s.evaluate(t, x, y);
        sum += std::fabs(x - s.X.Tomatch[t]) + std::fabs(y - s.Y.Tomatch[t]);
    }
    EXPECT_LT(sum / (n + 1), s.match_number);
    // The points to match are never touched.
    EXPECT_EQ(s.X.Tomatch[2], 25.0);
    EXPECT_EQ(s.Y.Tomatch[2], 5.0);
    EXPECT_NE(s.Y.V[2], 5.0);
    EXPECT_TRUE(plot.messages.empty());
}

TEST_F(BetaSplineTest, MatchingOneCoordinateLeavesTheOtherAndDecidesOnItAlone) {
    BetaSpline s(false, plot.grita);
    // Unevenly spaced x: the unmatched x at integer times misses its points by far more
    // than the tolerance, which must not stop y from converging.
    load(s, {{0, 0}, {1, 5}, {30, 10}, {31, 5}, {80, 0}, {81, 3}});
    s.X.V[2] = 999;  // match starts from the points, whatever the vertices held
    ASSERT_TRUE(s.match(0, s.segments(), false, true));
    for (int k = -1; k <= s.segments() + 2; ++k)
        EXPECT_EQ(s.X.V[k], s.X.Tomatch[k]) << k;
    double x = 0, y = 0;
    s.evaluate(2, x, y);
    EXPECT_GT(std::fabs(x - 30), 1.0);
    EXPECT_TRUE(near(y, 10, 0.05));
}

// The matching of a zig-zag converges slowly enough to find the tolerance at which it needs
// exactly 25 or 26 passes.
TEST_F(BetaSplineTest, TwentySixthPassCountsAsNonConvergence) {
    BetaSpline s(false, plot.grita);
    std::vector<Pt> zigzag;
    for (int k = 0; k < 12; ++k)
        zigzag.push_back({k * 4.0, (k % 2) * 30.0});
    load(s, zigzag, 6.0, 40.0);
    const auto passes_at = [&](double tolerance) {
        s.match_number = tolerance;
        s.match(0, s.segments(), true, true);
        return s.match_passes;
    };
    ASSERT_EQ(passes_at(1e-300), 26) << "the fixture converges too fast to show the limit";
    double lo = 1e-300;  // needs 26 passes
    double hi = 1000;    // converges at once
    ASSERT_LT(passes_at(hi), 25);
    while (hi - lo > 1e-15 * hi) {
        const double mid = (lo + hi) / 2;
        (passes_at(mid) >= 26 ? lo : hi) = mid;
    }
    s.match_number = hi;
    EXPECT_TRUE(s.match(0, s.segments(), true, true));
    EXPECT_EQ(s.match_passes, 25);

    // With the tolerance just below, the 26th pass is the last one made and is refused.
    s.match_number = lo;
    plot.messages.clear();
    EXPECT_FALSE(s.MatchAll(true, true));
    EXPECT_EQ(s.match_passes, 26);
    for (int k = -1; k <= s.segments() + 2; ++k) {
        EXPECT_EQ(s.X.V[k], s.X.Tomatch[k]);
        EXPECT_EQ(s.Y.V[k], s.Y.Tomatch[k]);
    }
    EXPECT_EQ(plot.messages, (std::vector<test::Message>{{"Matching is non-convergent", false}}));
}

TEST_F(BetaSplineTest, ACurveWithoutSegmentsGivesItsFirstPoint) {
    BetaSpline s(false, plot.grita);
    load(s, {{3, 4}});
    double x = 0, y = 0;
    s.evaluate(0.5, x, y);
    EXPECT_EQ(x, 3);
    EXPECT_EQ(y, 4);
    // The clamp is still reported: the curve has no parameter range at all.
    EXPECT_EQ(plot.messages,
              (std::vector<test::Message>{{"time > number of spline segments: 0.5", true}}));
}

TEST_F(BetaSplineTest, MatchAllOnOnePointLeavesTheVerticesAlone) {
    BetaSpline s(false, plot.grita);
    s.X.Tomatch[0] = 5;
    s.X.V[0] = 7;
    EXPECT_TRUE(s.MatchAll(true, true));
    EXPECT_EQ(s.X.V[0], 7);
}

}  // namespace
}  // namespace ostrivane
