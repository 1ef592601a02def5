#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "support/near.h"
#include "toolpath_fixture.h"

namespace ostrivane {
namespace {

using test::EngineFixture;
using test::near;
using test::Position;
using test::trace;

// A fine-only job on a gently curved profile 0 … 40 mm at `resolution` samples per mm.
void fine_job(EngineFixture& f, double resolution, int height_runs = 1, double jobheight = 3.2) {
    f.engine->set_data(4.5, resolution, jobheight, height_runs, 1, 1, 3.2, 1, 100, 100, true, false,
                       "", false, true, true);
    f.profile({{0, 20}, {10, 24}, {20, 21}, {30, 26}, {40, 22}});
}

TEST(FinePass, StepsBetweenOneAndThreeSamples) {
    EngineFixture f;
    fine_job(f, 1000);
    f.engine->profile.save_part(12, 22);
    ASSERT_FALSE(f.calculate());
    const auto lines = f.lines();
    ASSERT_EQ(lines[0], "G00 X0.0 Y0.0 Z1.00000000 F270");
    ASSERT_EQ(lines[1], "G00 X0.01000000 Y0.0 Z0.0 F270");
    ASSERT_EQ(lines[2], "G01 X11.99000000 Y0.00000000 Z0.00000000 F270");
    const auto positions = trace(lines);
    std::size_t steps = 0;
    for (std::size_t k = 3; k < lines.size() && lines[k].rfind("G01 X", 0) == 0; ++k) {
        const double dx = positions[k].x - positions[k - 1].x;
        EXPECT_GT(dx, 0.001 - 1e-9) << lines[k];
        EXPECT_LT(dx, 0.003 + 1e-9) << lines[k];
        // The saw top is the lower of the profile under its two edges.
        const double left = positions[k].x;
        const double expected =
            std::min(f.engine->profile.YatX(left + 4.5), f.engine->profile.YatX(left));
        EXPECT_TRUE(near(positions[k].y, expected, 0.01)) << lines[k];
        ++steps;
    }
    // 10 mm of part less the saw width, in steps of 1 to 3 thousandths.
    EXPECT_GT(steps, 5.5 / 0.003);
    EXPECT_LT(steps, 5.5 / 0.001 + 2);
    // The first step raises Y from home to the profile in one line.
    EXPECT_GT(positions[3].y, 20);
    // The saw's right edge ends at the part's end.
    const Position& last = positions[3 + steps - 1];
    EXPECT_GE(last.x + 4.5, 22);
    EXPECT_LT(last.x + 4.5, 22.003 + 1e-9);
    EXPECT_EQ(lines[3 + steps], "G00 F270");
    EXPECT_EQ(lines[4 + steps], "G28 Y0.0");
    EXPECT_EQ(lines[5 + steps], "G00 X0.0 Y0.0 Z3.20000000 F270");
    EXPECT_EQ(f.notices().back(), "Action fine milling");
}

TEST(FinePass, PartsAreClippedToTheProfile) {
    EngineFixture f;
    fine_job(f, 20);
    // fromX before XminX and ToX beyond XmaxX.
    f.engine->profile.NoParts = 2;
    f.engine->profile.fromX[1] = -5;
    f.engine->profile.ToX[1] = 6;
    f.engine->profile.fromX[2] = 30;
    f.engine->profile.ToX[2] = 50;
    ASSERT_FALSE(f.calculate());
    const auto lines = f.lines();
    const auto positions = trace(lines);
    // The first part starts at XminX (where the machine stands already), the second ends at
    // XmaxX.
    EXPECT_EQ(lines[2], "G01 X0.00000000 Y0.00000000 Z0.00000000 F270");
    double right_edge = 0;
    for (const Position& p : positions)
        right_edge = std::max(right_edge, p.x + 4.5);
    EXPECT_GE(right_edge, 39.99);
    EXPECT_LT(right_edge, 39.99 + 3.0 / 20 + 1e-9);
}

TEST(FinePass, PartNarrowerThanTheSawOnlyMovesToIt) {
    EngineFixture f;
    fine_job(f, 20);
    f.engine->profile.NoParts = 1;
    f.engine->profile.fromX[1] = 10;
    f.engine->profile.ToX[1] = 13;
    ASSERT_FALSE(f.calculate());
    EXPECT_EQ(f.lines(), (std::vector<std::string>{
                             "G00 X0.0 Y0.0 Z1.00000000 F270", "G00 X0.01000000 Y0.0 Z0.0 F270",
                             "G01 X9.99000000 Y0.00000000 Z0.00000000 F270", "G00 F270", "G28 Y0.0",
                             "G00 X0.0 Y0.0 Z3.20000000 F270"}));
}

TEST(FinePass, RunsToFullHeightShareTheJobHeight) {
    EngineFixture f;
    fine_job(f, 20, 3, 6);
    f.engine->profile.save_part(12, 22);
    ASSERT_FALSE(f.calculate());
    const auto lines = f.lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "G00 X0.0 Y0.0 Z2.00000000 F270"), 3);
    EXPECT_EQ(trace(lines).back().z, 7);  // start 1 + job height 6
    const auto notices = f.notices();
    EXPECT_EQ(std::count(notices.begin(), notices.end(), "Action fine milling"), 3);
}

TEST(FinePass, NoPartsWritesOnlyItsZAndXMoves) {
    EngineFixture f;
    fine_job(f, 20);
    ASSERT_FALSE(f.calculate());
    EXPECT_EQ(f.lines(), (std::vector<std::string>{"G00 X0.0 Y0.0 Z1.00000000 F270",
                                                   "G00 X0.01000000 Y0.0 Z0.0 F270",
                                                   "G00 X0.0 Y0.0 Z3.20000000 F270"}));
}

}  // namespace
}  // namespace ostrivane
