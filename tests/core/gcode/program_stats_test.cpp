#include "core/gcode/program_stats.h"

#include <gtest/gtest.h>

#include "core/text/error.h"
#include "support/near.h"

namespace ostrivane {
namespace {

TEST(ProgramStats, RelativeProgramWithHomingAndDwell) {
    // 3-4-5 feed move at 300 mm/min, a rapid back along X at 600, a dwell, then the footer:
    // G28 Y sends Y home (4 mm), G28 sends the rest home (Z 0, X 0 after the rapid).
    const char* program =
        "(GCODE created by Ostrivane)\r\nG21\r\nG17 G91 G61\r\nG28.1\r\n"
        "G01 X3.00000000 Y4.00000000 Z0.0 F300\r\n"
        "G00 X-3.00000000 Y0.0 Z0.0 F600\r\n"
        "G4 P1.50\r\n"
        "G00 X0.0 Y0.0 Z0.0 W90.00000000 F600\r\n"
        "G00 F600\r\nG28 Y0.0\r\nG28\r\nM2\r\n";
    const ProgramStats s = program_stats(program);
    EXPECT_EQ(s.lines, 12u);
    EXPECT_TRUE(test::near(s.feed_mm, 5, 1e-12));
    EXPECT_TRUE(test::near(s.rapid_mm, 3 + 4, 1e-12));
    EXPECT_TRUE(test::near(s.turning, 90 + 90, 1e-12));  // the bare G28 turns W home too
    EXPECT_TRUE(test::near(s.dwell_s, 1.5, 1e-12));
    // 5/300 min + 3/600 + 90/600 + 4/600 + 90/600 min, + 1.5 s
    EXPECT_TRUE(test::near(s.run_time_s, 60.0 * (5.0 / 300 + 187.0 / 600) + 1.5, 1e-9));
    EXPECT_EQ(s.moves_without_feed, 0u);
    EXPECT_EQ(stats_summary(s),
              "12 lines, feed 5.000 mm, rapid 7.000 mm, turning 180.000, dwell 1.50 s, run time "
              "at most 21.2 s (rapid moves counted at their F word)");
}

TEST(ProgramStats, AbsoluteModeAndMovesWithoutFeed) {
    const ProgramStats s = program_stats("G90\nG0 X10\nX10 Y10\nG1 Y0 F60 ; back\nG4 P0\n");
    EXPECT_TRUE(test::near(s.rapid_mm, 20, 1e-12));
    EXPECT_TRUE(test::near(s.feed_mm, 10, 1e-12));
    EXPECT_EQ(s.moves_without_feed, 2u);
    EXPECT_TRUE(test::near(s.run_time_s, 10, 1e-12));
}

TEST(ProgramStats, RefusesTextThatIsNotGcode) {
    try {
        program_stats("G21\nG01 X1,5 F60\n");
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Line 2 is not G-code this program can read: G01 X1,5 F60");
    }
    EXPECT_THROW(program_stats("G01 X"), Error);
    EXPECT_THROW(program_stats("#1=5"), Error);
}

}  // namespace
}  // namespace ostrivane
