#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "core/planner/plan_sizing.h"
#include "core/text/error.h"
#include "planner_fixture.h"
#include "support/near.h"

namespace ostrivane {
namespace {

// The orientation loop as a person reads it off the page: one scale step at a time.
PlanSizing literal_orient(double DP_mm, double SizeY, const PrinterPage& page) {
    PlanSizing s;
    s.DP_mm = DP_mm;
    s.SizeY = SizeY;
    const double a = DP_mm * SizeY;
    s.scale = 1;
    while (!s.use_width && !s.use_height) {
        const double A = a / s.scale;
        if (page.PH <= A && page.PW <= A)
            s.scale = s.scale + 1;
        else if (page.PH <= A && page.PW > A)
            s.use_height = true;
        else if (page.PH > A && page.PW < A)
            s.use_width = true;
        else if (page.PH > page.PW)
            s.use_height = true;
        else
            s.use_width = true;
    }
    return s;
}

struct OrientCase {
    const char* name;
    PrinterPage page;
    double a;  // template height in dots at full size
    double scale;
    bool use_height;
};

TEST(Orientation, ChoosesScaleAndPageDirection) {
    const PrinterPage portrait{827, 1169, 100, 100};
    const PrinterPage landscape{1169, 827, 100, 100};
    const std::vector<OrientCase> cases = {
        {"fits both ways: the longer side takes the length", portrait, 400, 1, true},
        {"higher than both sides at 1:1, fits at 1:2", portrait, 1500, 2, true},
        {"only the page height holds the height", portrait, 1000, 1, false},
        {"exactly the page width high", portrait, 827, 1, true},
        {"exactly the page height high: one step smaller", portrait, 1169, 2, true},
        {"landscape page, fits both ways", landscape, 500, 1, false},
        {"landscape page, only its width holds the height", landscape, 1000, 1, true},
        {"very high template", portrait, 1169 * 40.5, 41, false},
        {"square page", PrinterPage{1000, 1000, 100, 100}, 999, 1, false},
    };
    for (const OrientCase& c : cases) {
        SCOPED_TRACE(c.name);
        PlanSizing s;
        s.DP_mm = 1;
        s.SizeY = c.a;
        orient(s, c.page);
        EXPECT_EQ(s.scale, c.scale);
        EXPECT_EQ(s.use_height, c.use_height);
        EXPECT_NE(s.use_width, s.use_height);
    }
}

TEST(Orientation, MatchesTheStepByStepLoop) {
    std::mt19937_64 random(20250201);
    std::uniform_real_distribution<double> side(50, 5000);
    std::uniform_real_distribution<double> height(1, 200000);
    for (int i = 0; i < 20000; ++i) {
        const PrinterPage page{std::round(side(random)), std::round(side(random)), 100, 100};
        const double dots = height(random);
        PlanSizing fast;
        fast.DP_mm = 3.937007874015748;
        fast.SizeY = dots / fast.DP_mm;
        orient(fast, page);
        const PlanSizing slow = literal_orient(fast.DP_mm, fast.SizeY, page);
        ASSERT_EQ(fast.scale, slow.scale) << page.PW << "x" << page.PH << ", " << dots;
        ASSERT_EQ(fast.use_width, slow.use_width);
        ASSERT_EQ(fast.use_height, slow.use_height);
    }
}

TEST(Sizing, TakesThePageInMillimetresAndTheOutlinesExtent) {
    test::PlanCase pc(test::line_points(0, 65, 100, 65, 5));
    const PlankPlan& plan = pc.run(1, PrinterPage{827, 1169, 100, 100});
    const PlanSizing& s = plan.sizing;
    EXPECT_DOUBLE_EQ(s.SizeWidth, 827 * 25.4 / 100);
    EXPECT_DOUBLE_EQ(s.SizeHeight, 1169 * 25.4 / 100);
    EXPECT_DOUBLE_EQ(s.DP_mm, 827 / (827 * 25.4 / 100));
    const TBetaSPLpoints& outline = plan.planspline;
    EXPECT_EQ(s.XminX, outline.X.Tomatch[0] + outline.match_number);
    EXPECT_EQ(s.XmaxX, outline.X.Tomatch[outline.Nopoints - 1] - outline.match_number);
    EXPECT_EQ(s.SizeX, s.XmaxX - s.XminX);
    // Middle plank of a cylinder of radius 35 with a 10 mm margin: 40 mm, plus 10 extra.
    EXPECT_TRUE(test::near(s.SizeY, 50, 1e-9));
    EXPECT_EQ(s.scale, 1);
    EXPECT_TRUE(s.use_height);
    // Other resolutions across and along.
    test::PlanCase wide(test::line_points(0, 65, 100, 65, 5));
    const PlanSizing w = wide.run(1, PrinterPage{4960, 7016, 600, 600}).sizing;
    EXPECT_DOUBLE_EQ(w.SizeWidth, 4960 * 25.4 / 600);
    EXPECT_DOUBLE_EQ(w.DP_mm, 4960 / (4960 * 25.4 / 600));
}

TEST(Sizing, CountsAStartThatRisesSteeply) {
    // The profile climbs 40 mm in its first 3 mm: the outline is widest at its very start,
    // below the lowest sample the turning-point walk records.
    test::PlanCase pc({{0, 20}, {3, 60}, {100, 60}});
    const PlankPlan& plan = pc.run();
    const TBetaSPLpoints& outline = plan.planspline;
    double lowest = outline.Y.Tomatch[0];
    for (int k = 0; k < outline.Nopoints; ++k)
        lowest = std::min(lowest, outline.Y.Tomatch[k]);
    // Below the page that the sampled lowest y alone would give.
    ASSERT_LT(lowest, outline.YminY - 5 - 10) << "the case no longer shows the clipping";
    EXPECT_EQ(plan.sizing.y_low, lowest);
    EXPECT_TRUE(test::near(plan.sizing.SizeY, 100 - lowest + 10, 1e-9));
    for (const PlanPage& page : plan.layout.pages) {
        const double bottom = plan.sizing.use_height ? page.window.xmin : page.window.ymin;
        EXPECT_LE(bottom, lowest - 5 + 1e-9);
    }
}

TEST(Sizing, RefusesSizesThatAreNotFinite) {
    test::NoticeList notices;
    TBetaSPLpoints outline(notices);
    outline.save_point(0, -1e308);
    outline.save_point(10, -1e308);
    outline.save_point(20, -1e308);
    JobContext job;
    EXPECT_THROW(size_plan(outline, 1e308, 10, PrinterPage{}, job), Error);
    // A page or resolution of nothing is refused before any division by it.
    test::PlanCase pc(test::line_points(0, 65, 100, 65, 5));
    for (const PrinterPage& page : {PrinterPage{0, 1169, 100, 100}, PrinterPage{827, 1169, 0, 100},
                                    PrinterPage{827, -1, 100, 100}}) {
        EXPECT_THROW(pc.run(1, page), Error);
    }
}

}  // namespace
}  // namespace ostrivane
