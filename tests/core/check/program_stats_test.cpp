#include "core/check/program_stats.h"

#include <gtest/gtest.h>

#include <random>

#include "core/app/field_values.h"
#include "core/app/main_window_fields.h"
#include "core/check/cut_check.h"
#include "core/text/error.h"
#include "core/text/file_io.h"
#include "support/error_of.h"
#include "support/file_fixtures.h"
#include "support/near.h"
#include "support/temp_dir.h"

namespace ostrivane {
namespace {
using test::error_of;

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
    EXPECT_EQ(s.moves_without_feed, 0u);
    EXPECT_EQ(stats_summary(s),
              "12 lines, feed 5.000 mm, rapid 7.000 mm, turning 180.000, dwell 0:00:02, run "
              "time 0:00:11 (LinuxCNC planner model, exact stop G61; default limits)");
}

TEST(ProgramStats, AbsoluteModeAndMovesWithoutFeed) {
    const ProgramStats s = program_stats("G90\nG0 X10\nG1 X10 Y10\nG1 Y0 F60 ; back\nG4 P0\n");
    EXPECT_TRUE(test::near(s.rapid_mm, 10, 1e-12));
    EXPECT_TRUE(test::near(s.feed_mm, 20, 1e-12));
    // A feed move before any F word cannot run; it is counted, not timed.
    EXPECT_EQ(s.moves_without_feed, 1u);
}

TEST(ProgramStats, RefusesTextThatIsNotGcode) {
    try {
        program_stats("G21\nG01 X1,5 F60\n");
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Line 2: not G-code this program can read: G01 X1,5 F60");
    }
    EXPECT_THROW(program_stats("G01 X"), Error);
    EXPECT_THROW(program_stats("#1=5"), Error);
}

TEST(ProgramStats, ArcsCountAsFeedMovesByTheirChord) {
    // A half circle of radius 2.5 from (0,0) to (3,4): its chord is 5, and the modal G02 goes on
    // to a second arc 2 mm along Y.
    const ProgramStats s = program_stats(
        "G21 G17 G91\nG02 X3 Y4 I1.5 J2 F60\nX0 Y2 R1\nG03 I1 J0 ; a full circle\nG00 X1\n");
    EXPECT_EQ(s.arcs, 3u);
    EXPECT_TRUE(test::near(s.feed_mm, 7, 1e-12));
    EXPECT_TRUE(test::near(s.rapid_mm, 1, 1e-12));
    EXPECT_EQ(stats_summary(s),
              "5 lines, feed 7.000 mm, rapid 1.000 mm, dwell 0:00:00, run time 0:00:07 "
              "(LinuxCNC planner model, start-up path mode; default limits), 3 arcs approximated "
              "by their chords");
}

TEST(ProgramStats, NumbersAreReadWhole) {
    const ProgramStats s = program_stats("G91 G4 P1e3\nG1 X1E1 Y-2.5e+0 F6E1\nG4 P1.5E-1\n");
    EXPECT_TRUE(test::near(s.dwell_s, 1000.15, 1e-9));
    EXPECT_TRUE(test::near(s.feed_mm, std::hypot(10, 2.5), 1e-12));
    EXPECT_EQ(error_of([] { program_stats("G4 P1e308\n"); }),
              "Line 1: a dwell no program needs, P1e+308: G4 P1e308");
    EXPECT_EQ(error_of([] { program_stats("G4 P1e400\n"); }),
              "Line 1: not G-code this program can read: G4 P1e400");
}

TEST(ProgramStats, SummaryCountsInTheSingular) {
    EXPECT_EQ(stats_summary(program_stats("G1 X1\n")),
              "1 line, feed 1.000 mm, rapid 0.000 mm, dwell 0:00:00, run time 0:00:00 "
              "(LinuxCNC planner model, start-up path mode; default limits), 1 move without a "
              "feedrate");
    EXPECT_EQ(stats_summary(program_stats("G91 G2 X1 F60\nG1 X1\n")),
              "2 lines, feed 2.000 mm, rapid 0.000 mm, dwell 0:00:00, run time 0:00:02 "
              "(LinuxCNC planner model, start-up path mode; default limits), 1 arc approximated "
              "by its chord");
}

TEST(ProgramStats, BadLineIsQuotedShortAndPrintable) {
    std::string line = "G01 X";
    line += '\0';
    line += "\x1b[2J\xff";
    line += std::string(200, 'Y');
    EXPECT_EQ(error_of([&] { program_stats("G21\n" + line); }),
              "Line 2: not G-code this program can read: G01 X\\x00\\x1B[2J\\xFF" +
                  std::string(80 - 11, 'Y') + "...");
}

// Line ends of every kind, some of them across the reader's 64 KiB pieces.
std::string program_with_line_ends(std::mt19937& random) {
    const char* ends[] = {"\n", "\r\n", "\r"};
    std::string text = "G91\n";
    int i = 0;
    while (text.size() < 3 * 65536) {
        text += i % 7 == 0 ? "G01 X1.5 Y-2 F300" : i % 5 == 0 ? "" : "G00 Z0.25 (up)";
        text += ends[random() % 3];
        ++i;
    }
    return text;
}

TEST(ProgramStatsOfFile, StreamsToTheSameCountsAsTheWholeText) {
    test::TempDir dir;
    std::mt19937 random(20261211);
    // The first line fills the first piece but for its line end, which is split by the piece
    // boundary (CR LF), ends it (LF, a lone CR), or is followed by an empty line (CR CR).
    const std::string first_line = "(" + std::string(65533, 'x') + ")";
    for (const char* end : {"\r\n", "\n", "\r", "\r\r", "\r\n\r\n"}) {
        std::string text = first_line + end + program_with_line_ends(random) + "G00 X7";
        write_file_atomically(dir / "p.ngc", text);
        const ProgramStats whole = program_stats(text);
        const ProgramStats streamed = program_stats_of_file(dir / "p.ngc");
        EXPECT_EQ(stats_summary(streamed), stats_summary(whole)) << end[1];
        EXPECT_EQ(streamed.lines, whole.lines);
        EXPECT_EQ(streamed.feed_mm, whole.feed_mm);
        EXPECT_EQ(streamed.rapid_mm, whole.rapid_mm);
    }
    write_file_atomically(dir / "empty.ngc", "");
    EXPECT_EQ(program_stats_of_file(dir / "empty.ngc").lines, 0u);
}

TEST(ProgramStatsOfFile, RefusesWhatIsNoProgram) {
    test::TempDir dir;
    const std::string file = (dir / "long.ngc").string();
    write_file_atomically(file, "G21\r\n(" + std::string(max_program_line, 'x') + ")\r\n");
    EXPECT_EQ(
        error_of([&] { program_stats_of_file(file); }),
        "Line 2 of " + file + " is longer than 65536 characters, so it is not a G-code program.");
    // Just at the limit is a line like any other.
    write_file_atomically(file, "(" + std::string(max_program_line - 2, 'x') + ")");
    EXPECT_EQ(program_stats_of_file(file).lines, 1u);

    // A line without end is refused by its length, whatever the file's size says.
    write_file_atomically(file, std::string(2 * max_program_line, '\0'));
    EXPECT_EQ(error_of([&] { program_stats_of_file(file); }),
              "Line 1 of " + file +
                  " is longer than 65536 characters, so it is not a G-code "
                  "program.");
    test::for_each_hostile_file(
        dir / "hostile.ngc", max_program_file_size, "a G-code program",
        [&](std::string_view kind, const std::string& message) {
            SCOPED_TRACE(kind);
            EXPECT_EQ(error_of([&] { program_stats_of_file(dir / "hostile.ngc"); }), message);
        });
    EXPECT_EQ(error_of([&] { program_stats_of_file(dir.path()); }),
              "Cannot read file " + dir.path().string() + ": it is a folder, not a file.");
    EXPECT_EQ(error_of([&] { program_stats_of_file(dir / "none.ngc"); }),
              "Cannot open file " + (dir / "none.ngc").string() + ": No such file or directory");
}

// One reader and one model: the summary's run time is the check's for the same program.
TEST(ProgramStats, RunTimeIsTheChecks) {
    const char* programs[] = {
        "(joint)\r\nG21\r\nG17 G91 G61\r\nG28.1\r\nG00 X0.0 Y0.0 Z0.0 F270\r\n"
        "G01 X0.0 Y10.0 Z0.0 F270\r\nG01 X0.0 Y0.0 Z3.2 F270\r\nG00 X0.0 Y-10.0 Z0.0 F270\r\n"
        "G00 F270\r\nG28 Y0.0\r\nG28\r\nM2\r\n",
        "G21\nG28.1\nG17 G91\nG00 X1 Y0 Z0 F270\nG00 X0 Y24.9 Z0 F270\nG4 P0.00\n"
        "G00 X0 Y0 Z4.2 F270\nG00 F270\nG28 Y0.0\nG01 X4.4 Y0 Z0 F270\nG01 X0 Y1 Z0\nM2\n",
    };
    FieldValues fields{main_window_components()};
    for (const char* program : programs) {
        CheckInputs inputs;
        inputs.settings = read_machine_settings(fields);
        EXPECT_EQ(program_stats(program).run_time_s,
                  check_program_text(program, inputs).run_time_s);
    }
}

TEST(ProgramStatsSinkTest, SummaryOfTheLinesWritten) {
    const char* lines[] = {"G21", "G91", "G01 X3.00000000 Y4.00000000 Z0.0 F300", "G4 P0.50"};
    ProgramStatsSink sink;
    std::string text;
    for (const char* line : lines) {
        sink.write_line(line);
        text += std::string(line) + "\r\n";
    }
    EXPECT_EQ(sink.summary(), stats_summary(program_stats(text)));

    // A line it cannot read stops the counting; the summary then reports that line.
    sink.write_line("G01 X1,5");
    sink.write_line("G01 X1");
    EXPECT_EQ(error_of([&] { sink.summary(); }),
              "Line 5: not G-code this program can read: G01 X1,5");
}

}  // namespace
}  // namespace ostrivane
