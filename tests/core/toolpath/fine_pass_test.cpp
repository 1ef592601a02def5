#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "support/dense_curve.h"
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
        // The saw top is at most the lower of the profile under its two edges (lower where the
        // hollow at x 20 lies between them).
        const double left = positions[k].x;
        const double expected =
            std::min(f.engine->profile.YatX(left + 4.5), f.engine->profile.YatX(left));
        EXPECT_LE(positions[k].y, expected + 0.01) << lines[k];
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

// Profiles where the lower of the heights under the blade's edges lies above the profile
// between them, or where a straight move between two steps passes over a hollow.
struct Shape {
    const char* name;
    std::vector<std::pair<double, double>> points;
};

std::vector<Shape> gouging_shapes() {
    std::vector<Shape> shapes = {
        {"bead", {{0, 30}, {10, 30}, {14, 30}, {15, 26}, {16, 30}, {20, 30}, {34, 30}}},
        {"V dip", {{0, 30}, {10, 30}, {15, 12}, {20, 30}, {34, 30}}},
        {"notch", {{0, 30}, {10, 30}, {10.2, 15}, {11.5, 15}, {11.7, 30}, {34, 30}}},
        {"steps", {{0, 20}, {10, 20}, {10.1, 35}, {20, 35}, {20.1, 25}, {34, 25}}},
        // The curve through these swings back in x at the steep flanks.
        {"folds", {{0, 30}, {10, 30}, {11, 15}, {12, 30}, {22, 30}, {23, 10}, {24, 30}, {34, 29}}},
    };
    // A bulge of the piece of radius 5 mm: a round hollow of the profile.
    Shape bulge{"bulge R 5", {{0, 30}, {8, 30}}};
    for (int k = 0; k <= 20; ++k) {
        const double a = 3.14159265358979 * k / 20;
        bulge.points.push_back({15 - 5 * std::cos(a), 30 - 5 * std::sin(a)});
    }
    bulge.points.push_back({22, 30});
    bulge.points.push_back({34, 30});
    shapes.push_back(bulge);
    return shapes;
}

// Every move of the program against the curve, read densely and independently: how far the
// saw stands above the lowest profile under its blade anywhere along a move, at worst. Homing
// Y only lowers the saw where it stands and is passed over.
double worst_reach(EngineFixture& f, const test::DenseCurve& curve, double w) {
    const auto lines = f.lines();
    const auto positions = trace(lines);
    double worst = -std::numeric_limits<double>::infinity();
    for (std::size_t k = 1; k < positions.size(); ++k) {
        if (lines[k].rfind("G28", 0) == 0)
            continue;
        const Position& a = positions[k - 1];
        const Position& b = positions[k];
        worst = std::max(worst, curve.worst_reach(a.x, a.y, b.x, b.y, w));
    }
    return worst;
}

TEST(FinePassGouge, NoMoveReachesIntoTheProfileUnderTheBlade) {
    for (const Shape& shape : gouging_shapes()) {
        for (const double w : {2.0, 4.5, 6.0}) {
            for (const double resolution : {1.0, 7.0, 100.0, 1000.0}) {
                SCOPED_TRACE(testing::Message()
                             << shape.name << ", saw " << w << ", " << resolution << " samples/mm");
                EngineFixture f;
                f.engine->set_data(w, resolution, 3.2, 1, 1, 1, 3.2, 1, 100, 100, true, false, "",
                                   false, true, true);
                for (const auto& [x, y] : shape.points)
                    f.engine->profile.save_point(x, y);
                f.engine->profile.save_part(2, 32);
                ASSERT_FALSE(f.calculate());
                const test::DenseCurve curve(f.engine->profile, 400000);
                EXPECT_LE(worst_reach(f, curve, w), kPlungeTolerance + 1e-6);
                // Held back no lower than the profile near the step: never needlessly deep.
                const auto lines = f.lines();
                const auto positions = trace(lines);
                const double reach = 3 / resolution + 0.02;
                for (std::size_t k = 1; k < positions.size(); ++k) {
                    const Position& p = positions[k];
                    const bool travel = positions[k - 1].y == 0 && p.y == 0;
                    if (lines[k].rfind("G01", 0) != 0 || travel)
                        continue;
                    const double near_low = curve.lowest(p.x - reach, p.x + w + reach);
                    ASSERT_GE(p.y, near_low - 1e-6) << lines[k];
                }
            }
        }
    }
}

TEST(FinePassGouge, RoughAndFastRoughWithTheFinePassKeepTheRule) {
    for (const Shape& shape : gouging_shapes()) {
        for (const bool fast : {false, true}) {
            SCOPED_TRACE(testing::Message() << shape.name << (fast ? ", fast rough" : ", rough"));
            EngineFixture f;
            f.engine->set_data(4.5, 10, 3.2, 1, 1, 1, 3.2, 1, 100, 100, true, true, "", false, true,
                               true);
            for (const auto& [x, y] : shape.points)
                f.engine->profile.save_point(x, y);
            f.engine->profile.save_part(0, 34);
            ASSERT_FALSE(f.calculate(fast));
            const test::DenseCurve curve(f.engine->profile, 400000);
            EXPECT_LE(worst_reach(f, curve, 4.5), kPlungeTolerance + 1e-6);
        }
    }
}

TEST(FinePassGouge, TheDocumentedHeightStaysWhereItKeepsTheRule) {
    // A profile whose every hollow is wider than the blade (a groove of the piece): every step
    // keeps the lower of the heights under the blade's edges.
    EngineFixture f;
    f.engine->set_data(4.5, 10, 3.2, 1, 1, 1, 3.2, 1, 100, 100, true, false, "", false, true, true);
    f.profile({{0, 20}, {10, 24}, {20, 26}, {30, 24}, {40, 20}});
    f.engine->profile.save_part(0, 40);
    ASSERT_FALSE(f.calculate());
    const auto lines = f.lines();
    const auto positions = trace(lines);
    std::size_t steps = 0;
    for (std::size_t k = 4; k < positions.size(); ++k) {
        if (lines[k].rfind("G01", 0) != 0)
            continue;
        const double left = positions[k].x;
        const double documented =
            std::min(f.engine->profile.YatX(left + 4.5), f.engine->profile.YatX(left));
        EXPECT_TRUE(near(positions[k].y, documented, 0.01)) << lines[k];
        ++steps;
    }
    EXPECT_GT(steps, 100u);
}

TEST(FinePassGouge, ABeadNarrowerThanTheBladeIsLeftWhole) {
    EngineFixture f;
    f.engine->set_data(6, 100, 3.2, 1, 1, 1, 3.2, 1, 100, 100, true, false, "", false, true, true);
    f.profile({{0, 30}, {10, 30}, {14, 30}, {15, 26}, {16, 30}, {20, 30}, {34, 30}});
    f.engine->profile.save_part(2, 32);
    ASSERT_FALSE(f.calculate());
    const test::DenseCurve curve(f.engine->profile, 400000);
    const double bead = curve.lowest(14, 16);
    double lowest_top = std::numeric_limits<double>::infinity();
    for (const Position& p : trace(f.lines())) {
        if (p.x < 15 && p.x + 6 > 15 && p.y > 0)
            lowest_top = std::min(lowest_top, p.y);
    }
    // The saw over the bead stands no higher than its crest, and comes down to it.
    EXPECT_NEAR(lowest_top, bead, 1e-3);
}

TEST(FinePassGouge, AProfileBelowTheSawsHomeFailsThePass) {
    EngineFixture f;
    f.engine->set_data(4.5, 20, 3.2, 1, 1, 1, 3.2, 1, 100, 100, true, false, "", false, true, true);
    f.profile({{0, 22}, {11, 22}, {16, -2.5}, {21, 22}, {33, 22}});
    f.engine->profile.save_part(0, 33);
    EXPECT_TRUE(f.calculate());
    EXPECT_EQ(f.notices().back(), "Y-axis is going negative, stopswitch will burn!!!");
    EXPECT_EQ(f.engine->failure_reason, "Y-axis is going negative, stopswitch will burn!!!");
    for (const Position& p : trace(f.lines()))
        EXPECT_GE(p.y, 0);
}

}  // namespace
}  // namespace ostrivane
