#include <gtest/gtest.h>

#include <cmath>

#include "core/planner/plank_outline.h"
#include "core/text/error.h"
#include "planner_fixture.h"
#include "support/near.h"

namespace ostrivane {
namespace {

// Half the width of a plank whose inner face lies c from the axis, in a blank of radius e.
double half_width(double e, double c) {
    return std::fabs(c) >= e ? 0.0 : std::sqrt(e * e - c * c);
}

struct OutlineCase {
    const char* name;
    double y0, y1;  // the profile runs straight from (0, y0) to (100, y1)
    double margin;
    double c;
};

// Cylinders and cones have outlines in closed form: at every stored x the profile's radius is
// known, and the outline must lie exactly at the plank's half-width from the axis.
TEST(FillSpline, FollowsCylindersAndConesInClosedForm) {
    const double turning_axis_y = 100;
    const std::vector<OutlineCase> cases = {
        {"cylinder, middle plank", 65, 65, 10, 0},
        {"cylinder, plank through the blank", 65, 65, 10, 18},
        {"cylinder, plank beyond the blank", 65, 65, 10, 45},
        {"cone, middle plank", 60, 80, 10, 0},
        {"cone, plank leaving the blank on the way", 60, 80, 6, 20},
        {"cone, no plank selected", 60, 80, 10, -18},
        {"cone without margin", 80, 60, 0, 9},
    };
    for (const OutlineCase& oc : cases) {
        for (const bool match : {true, false}) {
            SCOPED_TRACE(std::string(oc.name) + (match ? ", matched" : ", unmatched"));
            test::Profile p(test::line_points(0, oc.y0, 100, oc.y1, 6), 1, match);
            test::NoticeList outline_notices;
            TBetaSPLpoints outline(outline_notices);
            JobContext job;
            FillSpline(p.set, turning_axis_y, oc.margin, oc.c, outline, job);
            ASSERT_GE(outline.Nopoints, 45);
            EXPECT_EQ(outline.X.Tomatch[0], p.set.evaluate(0).x);
            for (int k = 0; k < outline.Nopoints; ++k) {
                const double x = outline.X.Tomatch[k];
                const double radius = turning_axis_y - (oc.y0 + (oc.y1 - oc.y0) * x / 100);
                const double w = half_width(radius + oc.margin / 2, oc.c);
                EXPECT_TRUE(test::near(outline.Y.Tomatch[k], turning_axis_y - w, 1e-9))
                    << "at x = " << x;
                if (k > 0) {
                    const double step = x - outline.X.Tomatch[k - 1];
                    EXPECT_GT(step, 1.0);
                    EXPECT_LE(step, 2.0);
                }
            }
            // The walk stops a millimetre short of the profile's end (or of the curve's, where an
            // unmatched curve ends early).
            const double end = std::min(p.set.XmaxX, p.set.evaluate(p.set.segments()).x);
            EXPECT_GT(outline.X.Tomatch[outline.Nopoints - 1], end - 3);
            EXPECT_LE(outline.X.Tomatch[outline.Nopoints - 1], p.set.XmaxX - 1);
            EXPECT_TRUE(outline_notices.texts.empty());
        }
    }
}

TEST(FillSpline, OddStacksCoverTheInnerFaceOfEachPair) {
    // Cylinder of radius 35, margin 10, five 18 mm planks: plank 2's inner face lies 9 mm from
    // the axis, where the blank is 38.97 mm wide on each side (not 35.72, which would be its
    // middle at 18 mm).
    test::PlanCase pc(test::line_points(0, 65, 100, 65, 5));
    const PlankPlan& plan = pc.run(2);
    ASSERT_EQ(plan.list.N, 5);
    EXPECT_EQ(plan.plank.c, 9);
    const TBetaSPLpoints& outline = plan.planspline;
    for (int k = 0; k < outline.Nopoints; ++k)
        EXPECT_TRUE(test::near(100 - outline.Y.Tomatch[k], std::sqrt(40.0 * 40 - 81), 1e-9));
    EXPECT_TRUE(test::near(100 - outline.Y.Tomatch[0], 38.97, 0.005));
}

TEST(FillSpline, NoPlankSelectedNeverLeavesAGap) {
    // A thin profile: the blank's radius (3 + 5) is below the plank thickness, so with no plank
    // selected (c = -18) the old test c >= e failed and the width was the root of a negative.
    test::PlanCase pc(test::line_points(0, 97, 60, 97, 4));
    const PlankPlan& plan = pc.run(0);
    EXPECT_EQ(plan.plank.k, -1);
    for (int k = 0; k < plan.planspline.Nopoints; ++k)
        EXPECT_EQ(plan.planspline.Y.Tomatch[k], 100);
    EXPECT_TRUE(std::isfinite(plan.sizing.SizeY));
    EXPECT_EQ(plan.sizing.scale, 1);
}

TEST(FillSpline, RefusesAProfileTooShortForTwoOutlinePoints) {
    for (const double length : {0.5, 1.5, 2.0}) {
        test::PlanCase pc({{0, 60}, {length, 60}});
        try {
            pc.run();
            FAIL() << "a profile " << length << " mm long was planned";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find("too short"), std::string::npos) << e.what();
        }
        EXPECT_FALSE(pc.plan.calculated);
        EXPECT_TRUE(pc.plan.layout.pages.empty());
    }
    test::PlanCase barely({{0, 60}, {3.5, 60}});
    EXPECT_NO_THROW(barely.run());
}

TEST(FillSpline, StopsWhenCancelled) {
    struct Cancelling final : JobContext {
        bool cancelled() const override { return true; }
    } job;
    // Long enough for the walk to reach a point where it asks.
    test::Profile p(test::line_points(0, 65, 10000, 65, 50));
    test::NoticeList notices;
    TBetaSPLpoints outline(notices);
    try {
        FillSpline(p.set, 100, 10, 0, outline, job);
        FAIL() << "the walk went on";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Filling the plank outline was cancelled");
    }
}

TEST(FillSpline, RefusesAProfileLongerThanAnOutlineHolds) {
    test::Profile p(test::line_points(0, 65, 25000, 65, 100));
    test::NoticeList notices;
    TBetaSPLpoints outline(notices);
    JobContext job;
    EXPECT_THROW(FillSpline(p.set, 100, 10, 0, outline, job), Error);
    EXPECT_TRUE(notices.texts.empty()) << "refused points were reported one by one";
}

}  // namespace
}  // namespace ostrivane
