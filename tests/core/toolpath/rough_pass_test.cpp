#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "support/near.h"
#include "toolpath_fixture.h"

namespace ostrivane {
namespace {

using test::EngineFixture;
using test::near;
using test::Plunge;
using test::plunges;
using test::trace;

TEST(RoughPass, FallingLineIsCutAtTheSawsRightEdge) {
    EngineFixture f;
    f.job(4.5, 50);
    f.profile({{0, 20}, {25, 15}, {50, 10}});
    ASSERT_FALSE(f.calculate());
    EXPECT_EQ(f.engine->profile.GradCounter, 1);
    EXPECT_EQ(f.engine->gradCounter2, 1);
    const auto lines = f.lines();
    // The listed position at the profile's start, then ceil(c / w) plunges up to XmaxX - w.
    ASSERT_GE(lines.size(), 8u);
    EXPECT_EQ(lines[0], "G00 X0.01000000 Y0.0 Z0.0 F270");
    const auto ps = plunges(trace(lines));
    const double c = f.engine->profile.XmaxX - 0.01 - 4.5;
    const auto m = static_cast<std::size_t>(std::ceil(c / 4.5));
    ASSERT_EQ(ps.size(), 1 + m);
    EXPECT_TRUE(near(ps.back().x, f.engine->profile.XmaxX - 4.5, 1e-6));
    for (const Plunge& p : ps)
        EXPECT_TRUE(near(p.y, 20 - (p.x + 4.5) / 5, 0.003)) << p.x;
    // Between plunges X moves at the feed, to listed positions at the rapid rate.
    EXPECT_EQ(lines[8].substr(0, 5), "G01 X");
    EXPECT_EQ(f.notices(),
              (std::vector<std::string>{"Calculating gradients",
                                        "Calculating saw positions on gradients", "Action Rough"}));
}

TEST(RoughPass, RunsGoDeeperInEqualShares) {
    EngineFixture f;
    f.job(4.5, 20, false, 3);
    f.profile({{0, 6}, {10, 6}, {20, 6}});
    ASSERT_FALSE(f.calculate());
    const auto ps = plunges(trace(f.lines()));
    ASSERT_EQ(ps.size() % 3, 0u);
    const std::size_t per_run = ps.size() / 3;
    for (std::size_t k = 0; k < ps.size(); ++k)
        EXPECT_TRUE(near(ps[k].y, 2.0 * static_cast<double>(k / per_run + 1), 1e-9)) << k;
    // Every run starts again with a rapid move back to the first position.
    const auto lines = f.lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "G00 X0.01000000 Y0.0 Z0.0 F270"), 1);
}

TEST(RoughPass, RoundWorkKeepsZAtItsStart) {
    for (double height : {0.0, 0.000001}) {
        SCOPED_TRACE(height);
        EngineFixture f;
        f.job(4.5, 20, false, 1, height);
        f.profile({{0, 6}, {10, 6}});
        ASSERT_FALSE(f.calculate());
        const auto lines = f.lines();
        const bool zero = height == 0;
        // Z goes to its start before the pass and home after it, never per cut.
        EXPECT_EQ(lines.front() == "G00 X0.0 Y0.0 Z1.00000000 F270", zero);
        EXPECT_EQ(lines.back() == "G28 Z0.0", zero);
        const auto z_lines = std::count_if(lines.begin(), lines.end(), [](const std::string& l) {
            return l.find(" Z0.0 ") == std::string::npos && l.rfind("G00 X0.0", 0) == 0;
        });
        EXPECT_EQ(z_lines, zero ? 1 : 0);
    }
}

TEST(RoughPass, NoRunsWritesOnlyTheZMoves) {
    EngineFixture f;
    f.job(4.5, 20, false, 0, 0);
    f.profile({{0, 6}, {10, 6}});
    ASSERT_FALSE(f.calculate());
    EXPECT_EQ(f.lines(),
              (std::vector<std::string>{"G00 X0.0 Y0.0 Z1.00000000 F270", "G00 F270", "G28 Z0.0"}));
}

TEST(RoughPass, GapOfTwoSawWidthsGetsTwoPlungesOneWidthApart) {
    EngineFixture f;
    f.job(5, 20);
    f.profile({{0, 6}, {10, 6}, {15.02, 6}});
    ASSERT_FALSE(f.calculate());
    // XminX 0.01, XmaxX 15.01: a gap c of exactly 2w after the saw at the start.
    const auto ps = plunges(trace(f.lines()));
    ASSERT_EQ(ps.size(), 3u);
    EXPECT_EQ(ps[1].x - ps[0].x, 5);
    EXPECT_EQ(ps[2].x - ps[1].x, 5);
}

// A plunge as high as the profile under the whole saw, within the sampling tolerance.
void expect_no_gouge(EngineFixture& f, const std::vector<Plunge>& ps, double extra = 0) {
    TGrad& e = *f.engine;
    for (const Plunge& p : ps) {
        double lowest = std::min(e.profile.YatX(p.x), e.profile.YatX(p.x + e.profile.mill_width));
        for (double x = p.x; x <= p.x + e.profile.mill_width; x += 0.01)
            lowest = std::min(lowest, e.profile.YatX(x));
        EXPECT_LE(p.y, lowest + extra + 0.06) << "at x = " << p.x;
    }
}

TEST(RoughPass, BalusterIsCutWithoutGouges) {
    EngineFixture f;
    f.job(4.5, 50);
    f.profile({{0, 30}, {15, 20}, {30, 35}, {45, 15}, {60, 25}, {75, 22}, {90, 30}});
    ASSERT_FALSE(f.calculate());
    EXPECT_GE(f.engine->profile.GradCounter, 6);
    expect_no_gouge(f, plunges(trace(f.lines())));
    // Nothing needed limiting: only the missing saw outline was logged.
    ASSERT_EQ(f.log.size(), 1u) << f.log.back().first;
}

TEST(RoughPass, FineTaskHoldsBackAndNeverGoesBelowHome) {
    EngineFixture f;
    f.job(4.5, 20, true, 3);
    f.profile({{0, 5}, {10, 6}, {20, 5.5}});
    // Without the fine pass's parts only its Z and X moves follow the rough pass.
    ASSERT_FALSE(f.calculate());
    const auto ps = plunges(trace(f.lines()));
    ASSERT_FALSE(ps.empty());
    for (const Plunge& p : ps)
        EXPECT_GE(p.y, 0) << p.x;
    // The first run's share of 5 mm less the 2 mm held back would be below home: 0 instead.
    EXPECT_EQ(ps.front().y, 0);
    // The last run stays 2 mm short of the profile.
    EXPECT_TRUE(near(ps.back().y, f.engine->profile.YatX(ps.back().x + 4.5) - 2, 0.003));
}

TEST(RoughPass, IntermediatePlungeOfLittleHeightIsCutAtHome) {
    EngineFixture f;
    f.job(4.5, 20, true);
    f.profile({{0, 1.5}, {10, 1.5}, {20, 1.5}});
    ASSERT_FALSE(f.calculate());
    const auto lines = f.lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "G00 X0.0 Y0.00000000 Z0.0 F270"),
              static_cast<long>(plunges(trace(lines)).size()));
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.find("Y-") != std::string::npos; }),
              0);
}

TEST(RoughPass, ProfileBelowHomeFailsTheJob) {
    EngineFixture f;
    f.job(4.5, 20);
    f.profile({{0, 3}, {10, -1}, {20, 3}, {30, 4}});
    EXPECT_TRUE(f.calculate());
    EXPECT_EQ(f.notices().back(), "Y-axis is going negative, stopswitch will burn!!!");
    // Nothing after the failing plunge's X move, not even the Z return.
    const auto lines = f.lines();
    EXPECT_EQ(lines.back().substr(0, 5), "G01 X");
    for (const Plunge& p : plunges(trace(lines)))
        EXPECT_GE(p.y, 0);
}

TEST(RoughPass, AProfileDippingBelowHomeUnderTheBladeFailsEveryRoughPass) {
    // The edges of every saw stand above home; only the dip between them goes below it.
    for (const bool fast : {false, true}) {
        SCOPED_TRACE(fast ? "fast rough" : "rough");
        EngineFixture f;
        f.job(4.5, 20);
        f.profile({{0, 22}, {11, 22}, {16, -2.5}, {21, 22}, {33, 22}});
        EXPECT_TRUE(f.calculate(fast));
        EXPECT_EQ(f.notices().back(), "Y-axis is going negative, stopswitch will burn!!!");
        EXPECT_EQ(f.engine->failure_reason, "Y-axis is going negative, stopswitch will burn!!!");
    }
}

TEST(RoughPass, ProfileBeyondTheAxisFailsTheJob) {
    EngineFixture f;
    f.job(4.5, 20);
    f.profile({{0, 90}, {10, 101}, {20, 90}});
    EXPECT_TRUE(f.calculate());
    EXPECT_EQ(f.notices().back(), "Turning axis is cut to pieces !!!");
}

TEST(FastRoughPass, PlungesSideBySide) {
    struct Case {
        double length;
        std::vector<double> lefts;
    };
    for (const Case& c : {Case{10, {0.01, 4.51}}, Case{9, {0.01}}, Case{4, {}}}) {
        SCOPED_TRACE(c.length);
        EngineFixture f;
        f.job(4.5, 20, false, 1, 0);
        f.profile({{0, 8}, {c.length / 2, 7}, {c.length, 6}});
        ASSERT_FALSE(f.calculate(true));
        const auto lines = f.lines();
        const auto ps = plunges(trace(lines));
        ASSERT_EQ(ps.size(), c.lefts.size());
        for (std::size_t k = 0; k < ps.size(); ++k) {
            EXPECT_TRUE(near(ps[k].x, c.lefts[k], 1e-12));
            const double lower =
                std::min(f.engine->profile.YatX(ps[k].x), f.engine->profile.YatX(ps[k].x + 4.5));
            EXPECT_TRUE(near(ps[k].y, lower, 1e-8));
        }
        EXPECT_EQ(lines.front(), "G00 X0.0 Y0.0 Z1.00000000 F270");
        EXPECT_EQ(lines.back(), "G28 Z0.0");
        // No gradients are needed without tooth slots.
        EXPECT_EQ(f.notices(), std::vector<std::string>{"Action fast rough"});
    }
}

TEST(FastRoughPass, RunsAndHoldBack) {
    EngineFixture f;
    f.job(4.5, 20, true, 2, 0);
    f.profile({{0, 3}, {10, 3.5}, {20, 3}});
    ASSERT_FALSE(f.calculate(true));
    const auto ps = plunges(trace(f.lines()));
    ASSERT_EQ(ps.size() % 2, 0u);
    // Run 1 reaches half the height, less the 2 mm held back: 0 rather than below home.
    EXPECT_EQ(ps.front().y, 0);
    EXPECT_TRUE(near(
        ps.back().y,
        std::min(f.engine->profile.YatX(ps.back().x), f.engine->profile.YatX(ps.back().x + 4.5)) -
            2,
        1e-8));
}

// The lowest point of the profile whose x lies under [left, right], from a sampling far finer
// than any the job uses (a million samples over the curve).
double lowest_under(const TBetaSPLpoints& profile, double left, double right) {
    double lowest = std::numeric_limits<double>::infinity();
    const int n = profile.segments();
    const int per_segment = 1000000 / n;
    for (int k = 0; k <= n * per_segment; ++k) {
        const CurvePoint p = profile.evaluate(static_cast<double>(k) / per_segment);
        if (p.x >= left && p.x <= right)
            lowest = std::min(lowest, p.y);
    }
    return lowest;
}

// Every plunge against the profile under the whole blade.
double deepest_gouge(EngineFixture& f, bool fast) {
    EXPECT_FALSE(f.calculate(fast));
    double worst = -std::numeric_limits<double>::infinity();
    for (const Plunge& p : plunges(trace(f.lines())))
        worst = std::max(worst, p.y - lowest_under(f.engine->profile, p.x, p.x + 4.5));
    return worst;
}

TEST(RoughPassGouge, NoPlungeReachesBelowANarrowDipAtAnyResolution) {
    for (const double resolution : {1.0, 5.0, 10.0, 50.0}) {
        for (const bool fast : {false, true}) {
            SCOPED_TRACE(testing::Message() << resolution << (fast ? " fast" : " rough"));
            EngineFixture f;
            f.job(4.5, resolution);
            f.profile({{0, 40}, {9, 40}, {11, 25}, {13, 40}, {22, 40}});
            EXPECT_LE(deepest_gouge(f, fast), 0.05);
            // The limit is logged once.
            EXPECT_EQ(std::count_if(
                          f.log.begin(), f.log.end(),
                          [](const auto& l) { return l.first.rfind("Plunge limited", 0) == 0; }),
                      1);
        }
    }
}

TEST(RoughPassGouge, AnUndercutHoldsTheSawBackOnEveryBranchAndIsNamed) {
    for (const double resolution : {1.0, 10.0, 50.0}) {
        SCOPED_TRACE(resolution);
        EngineFixture f;
        f.job(4.5, resolution);
        // Points in ascending x, but the curve through them swings past the vertical at the
        // steep, narrow notches.
        f.profile({{0, 30}, {20, 31}, {23, 18}, {26, 31}, {50, 30}, {53, 12}, {55, 30}, {80, 29}});
        EXPECT_LE(deepest_gouge(f, false), 0.05);
        const auto notices = f.notices();
        EXPECT_EQ(std::count_if(notices.begin(), notices.end(),
                                [](const std::string& n) {
                                    return n.rfind("The profile doubles back between X = ", 0) == 0;
                                }),
                  1);
    }
}

TEST(RoughPassGouge, AProfileThatRunsForwardIsNotCalledAnUndercut) {
    EngineFixture f;
    f.job(4.5, 10);
    f.profile({{0, 40}, {9, 40}, {11, 25}, {13, 40}, {22, 40}});
    ASSERT_FALSE(f.calculate());
    for (const std::string& n : f.notices())
        EXPECT_EQ(n.find("doubles back"), std::string::npos) << n;
}

TEST(RoughPass, ASawTooNarrowForTheProfileIsNamed) {
    EngineFixture f;
    f.job(1e-9, 10);
    f.profile({{0, 40}, {10, 30}, {20, 45}});
    EXPECT_TRUE(f.calculate());
    EXPECT_EQ(f.notices().back(),
              "A saw width of 1E-9 mm is too narrow to turn a 19.98 mm profile");
    EXPECT_EQ(f.out.text(), "");
}

}  // namespace
}  // namespace ostrivane
