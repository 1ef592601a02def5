#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "../toolpath/toolpath_fixture.h"
#include "core/check/check_report.h"
#include "core/check/cut_check.h"
#include "core/text/number_format.h"
#include "design_oracle.h"

namespace ostrivane {
namespace {

const char* const kHeader =
    "(GCODE created by Ostrivane)\nG21\nG28.1\nG17 G91\nG43H1\nT1M06\nS12000 M03\n";
const char* const kFooter = "G00 F270\nG28 Y0.0\nG28\nM2\n";
constexpr double kSaw = 4.5;

// A profile loaded as given (it may double back in x) into an engine with a 4.5 mm saw, and
// the check's design of it.
struct ProbeCase : test::EngineFixture {
    explicit ProbeCase(const std::vector<CurvePoint>& points) {
        job(kSaw, 100, false);
        test::load_points(engine->profile, points);
        engine->profile.XminX = points.front().x + 0.01;
        engine->profile.XmaxX = points.back().x - 0.01;
        design.emplace(*engine, std::vector<DesignSlot>{});
        dense.emplace(engine->profile, engine->profile.XminX, engine->profile.XmaxX);
    }
    CheckReport check(const std::string& body) {
        CheckInputs in;
        in.settings = read_machine_settings(fields);
        in.turning = &*design;
        return check_program_text(kHeader + body + kFooter, in);
    }
    // One plunge of the saw's left edge at x to height y, and back home.
    CheckReport plunge(double x, double y) {
        return check("G00 X" + format_fixed(x, 8) + " Y0.0 Z0.0 F270\nG00 X0.0 Y" +
                     format_fixed(y, 8) + " Z0.0 F270\nG00 X0.0 Y" + format_fixed(-y, 8) +
                     " Z0.0 F270\n");
    }
    std::optional<TurningDesign> design;
    std::optional<test::DenseCurve> dense;
};

// Single plunges all along a V, steps, a narrow notch, a bulge and a fold: each one 0.08 mm
// above the lowest of the curve under the blade is a gouge (exit 3), each one 0.03 mm below it
// is clear (exit 0), wherever it stands against a flank.
TEST(PlungeProbe, EveryGougeIsCaughtAndEveryClearPlungePasses) {
    const std::vector<std::pair<const char*, std::vector<CurvePoint>>> profiles = {
        {"V", {{0, 25}, {10, 25}, {15, 5}, {20, 25}, {30, 25}}},
        {"steps", {{0, 10}, {10, 10}, {10.5, 20}, {20, 20}, {20.5, 10}, {30, 10}}},
        {"notch", {{0, 20}, {12, 20}, {12.75, 12}, {13.5, 20}, {30, 20}}},
        {"bulge", {{0, 8}, {8, 8}, {12, 4}, {16, 8}, {30, 8}}},
        {"fold", {{0, 20}, {10, 20}, {18, 14}, {12, 8}, {16, 4}, {24, 20}, {34, 20}}},
    };
    for (const auto& [name, points] : profiles) {
        SCOPED_TRACE(name);
        ProbeCase f(points);
        const double from = f.engine->profile.XminX;
        const double to = f.engine->profile.XmaxX - kSaw;
        std::vector<std::string> missed;
        for (double x = from; x <= to; x += 0.113) {
            const double lowest = f.dense->lowest_below_line(x, x + kSaw, x, 0, 0);
            if (check_exit_code(f.plunge(x, lowest + 0.08)) != kCheckCutsIntoDesign)
                missed.push_back("gouge passed at x " + format_fixed(x, 3));
            if (check_exit_code(f.plunge(x, lowest - 0.03)) != 0)
                missed.push_back("clear plunge flagged at x " + format_fixed(x, 3));
        }
        EXPECT_TRUE(missed.empty()) << missed.size() << " wrong, first: " << missed.front();
    }
}

// The overcut is read where the saw stands: a plunge 0.08 mm too deep reads 0.08 mm, at x
// under the blade.
TEST(PlungeProbe, TheOvercutIsHowFarThePlungeIsTooDeep) {
    ProbeCase f({{0, 10}, {10, 10}, {10.5, 20}, {20, 20}, {20.5, 10}, {30, 10}});
    for (const double x : {6.0, 8.37, 10.11, 10.4, 16.02, 19.93}) {
        SCOPED_TRACE(x);
        const double lowest = f.dense->lowest_below_line(x, x + kSaw, x, 0, 0);
        const CheckReport r = f.plunge(x, lowest + 0.08);
        ASSERT_TRUE(r.overcut.at_x);
        EXPECT_NEAR(r.overcut.max_mm, 0.08, 1e-4);
        EXPECT_GE(*r.overcut.at_x, x - 1e-9);
        EXPECT_LE(*r.overcut.at_x, x + kSaw + 1e-9);
    }
}

// A branch of the profile that folds under the saw's home (below y = 0): the saw standing at
// home over it cuts into it; where no move reaches, nothing is cut.
TEST(PlungeProbe, HomeOverABranchBelowItIsAnOvercutAndUnreachedXIsNot) {
    ProbeCase f({{0, 10}, {10, 10}, {18, 4}, {12, -3}, {16, -1}, {24, 10}, {34, 10}});
    const double below =
        -f.dense->lowest_below_line(f.engine->profile.XminX, f.engine->profile.XmaxX, 0, 0, 0);
    ASSERT_GT(below, 1);
    // Plunges at the left end only: nothing reaches the fold.
    const CheckReport aside = f.plunge(1, 5);
    EXPECT_EQ(check_exit_code(aside), 0);
    EXPECT_FALSE(aside.overcut.at_x);
    // The saw travels at home over the fold.
    const CheckReport over = f.check("G00 X26.0 Y0.0 Z0.0 F270\n");
    EXPECT_EQ(check_exit_code(over), kCheckCutsIntoDesign);
    EXPECT_NEAR(over.overcut.max_mm, below, 1e-4);
}

// Random programs of plunges, traverses and slanted moves: the check's largest overcut and
// material left agree with a flat-topped saw swept over a grid of 0.5 µm against the curve read
// densely.
TEST(PlungeProbe, OvercutAndMaterialLeftAgreeWithASweptSaw) {
    const std::vector<std::vector<CurvePoint>> profiles = {
        {{0, 25}, {10, 25}, {15, 5}, {20, 25}, {30, 25}},
        {{0, 10}, {10, 10}, {10.5, 20}, {20, 20}, {20.5, 10}, {30, 10}},
        {{0, 20}, {10, 20}, {18, 14}, {12, 8}, {16, 4}, {24, 20}, {34, 20}},
    };
    std::mt19937 random(26);
    for (std::size_t p = 0; p < profiles.size(); ++p) {
        ProbeCase f(profiles[p]);
        const double from = f.engine->profile.XminX;
        const double to = f.engine->profile.XmaxX;
        constexpr double kGrid = 0.0005;
        const auto n = static_cast<std::size_t>((to - from) / kGrid) + 1;
        const std::vector<double> design = f.dense->on_grid(from, kGrid, n);
        std::uniform_real_distribution<double> where(from - 2, to - 2), pick(0, 1);
        for (int program = 0; program < 12; ++program) {
            SCOPED_TRACE(testing::Message() << "profile " << p << " program " << program);
            // Absolute positions on a 0.1 µm grid, written as relative moves.
            const auto grid = [](double v) { return std::round(v * 1e4) / 1e4; };
            std::vector<CurvePoint> at{{0, 0}};
            for (int m = 0; m < 8; ++m) {
                const double x = grid(where(random));
                const double low = f.dense->lowest_below_line(x, x + kSaw, x, 0, 0);
                const double y = grid(std::max(0.0, low - 3 * pick(random) + 0.1));
                const double kind = pick(random);
                if (kind < 0.5) {  // a plunge from home
                    at.push_back({x, 0});
                    at.push_back({x, y});
                    at.push_back({x, 0});
                } else {  // a slanted move to there, then home
                    at.push_back({x, y});
                    at.push_back({x, 0});
                }
            }
            std::string body;
            for (std::size_t k = 1; k < at.size(); ++k) {
                body += "G01 X" + format_fixed(at[k].x - at[k - 1].x, 8) + " Y" +
                        format_fixed(at[k].y - at[k - 1].y, 8) + " Z0.0 F270\n";
            }
            const CheckReport r = f.check(body);
            // The saw swept over the grid.
            std::vector<double> env(n, -std::numeric_limits<double>::infinity());
            for (std::size_t k = 1; k < at.size(); ++k) {
                const CurvePoint a = at[k - 1];
                const CurvePoint b = at[k];
                for (std::size_t g = 0; g < n; ++g) {
                    const double x = from + static_cast<double>(g) * kGrid;
                    double lo = 0, hi = 1;
                    if (a.x == b.x) {
                        if (x < a.x || x > a.x + kSaw)
                            continue;
                    } else {
                        const double t1 = (x - kSaw - a.x) / (b.x - a.x);
                        const double t2 = (x - a.x) / (b.x - a.x);
                        lo = std::max(0.0, std::min(t1, t2));
                        hi = std::min(1.0, std::max(t1, t2));
                        if (lo > hi)
                            continue;
                    }
                    env[g] = std::max({env[g], a.y + (b.y - a.y) * lo, a.y + (b.y - a.y) * hi});
                }
            }
            double overcut = 0, left = 0;
            for (std::size_t g = 0; g < n; ++g) {
                if (std::isinf(design[g]))
                    continue;
                if (std::isinf(env[g])) {
                    left = std::max(left, design[g]);
                    continue;
                }
                overcut = std::max(overcut, env[g] - design[g]);
                left = std::max(left, design[g] - env[g]);
            }
            EXPECT_NEAR(r.overcut.max_mm, overcut, 0.005);
            EXPECT_NEAR(r.left.max_mm, left, 0.005);
        }
    }
}

TEST(PlungeProbe, AProgramWithoutAMoveSaysSo) {
    ProbeCase f({{0, 10}, {10, 12}, {20, 10}});
    for (const std::string body : {"", "G4 P1\n"}) {
        CheckInputs in;
        in.settings = read_machine_settings(f.fields);
        in.turning = &*f.design;
        const CheckReport r = check_program_text(body, in);
        EXPECT_EQ(r.moves, 0u);
        EXPECT_EQ(check_exit_code(r), kCheckNoMove);
        const std::string text = check_paragraph(r, "p.ngc");
        EXPECT_NE(text.find("makes no move"), std::string::npos) << text;
        EXPECT_EQ(text.find("within the tolerance"), std::string::npos) << text;
    }
}

}  // namespace
}  // namespace ostrivane
