#include "core/check/program_reader.h"

#include <gtest/gtest.h>

#include <optional>

#include "core/app/field_values.h"
#include "core/app/main_window_fields.h"
#include "core/check/cut_check.h"
#include "core/gcode/gcode_writer.h"
#include "core/gcode/line_sink.h"
#include "core/text/ascii_text.h"
#include "support/error_of.h"

namespace ostrivane {
namespace {

std::vector<ProgramMove> read_all(const MachineSettings& settings, std::string_view text) {
    ProgramReader reader(settings);
    std::vector<ProgramMove> moves;
    for (const std::string_view line : split_lines(text))
        reader.read_line(line, moves);
    return moves;
}

using Sets = std::vector<std::pair<const char*, const char*>>;

MachineSettings settings_of(const Sets& sets) {
    FieldValues fields{main_window_components()};
    for (const auto& [name, value] : sets)
        fields.assign(name, value);
    return read_machine_settings(fields);
}

// Moves written under any mapping read back as the same moves of the program's axes.
TEST(ProgramReader, ReadsBackWhatTheWriterWroteUnderEveryMapping) {
    const std::vector<Sets> mappings = {
        {},
        {{"GcodeX", "Y"}, {"GCodeY", "X"}, {"InvertZ", "true"}},
        {{"GCodeW", "X"}, {"InvertW", "true"}, {"InvertY", "true"}},
        {{"GCodeY", "W"}, {"GCodeW", "Y"}},
    };
    const std::vector<Move> moves = {
        Move::along(Axis::X, 12.5, true), Move::along(Axis::Y, -3.25, false),
        Move::combined({1, 2, 0}, false), Move::along(Axis::W, 90, true),
        Move::along(Axis::Z, 4, false),
    };
    for (std::size_t m = 0; m < mappings.size(); ++m) {
        SCOPED_TRACE(m);
        const MachineSettings settings = settings_of(mappings[m]);
        StringSink out;
        out.write_line("G91");
        GcodeWriter writer(settings, out);
        for (const Move& move : moves)
            writer.move(move);
        const auto read = read_all(settings, out.text());
        ASSERT_EQ(read.size(), moves.size());
        for (std::size_t k = 0; k < moves.size(); ++k) {
            EXPECT_EQ(read[k].move.kind, moves[k].kind);
            for (const Axis axis : program_axes) {
                const auto a = static_cast<std::size_t>(axis);
                const double want = moves[k].moves(axis) ? moves[k].distance[a] : 0.0;
                const double got = read[k].move.moves(axis) ? read[k].move.distance[a] : 0.0;
                EXPECT_DOUBLE_EQ(got, want) << "move " << k << " axis " << a;
            }
            EXPECT_EQ(read[k].line, k + 2);
        }
    }
}

TEST(ProgramReader, HomingGoesToTheStoredHome) {
    const auto moves = read_all(settings_of({}),
                                "G91\nG00 X5 Y0.0 Z0.0\nG28.1\nG00 X1 Y7 Z0.0 F270\nG00 "
                                "F270\nG28 Y0.0\nG28\nG4 P0.50\nM2");
    ASSERT_EQ(moves.size(), 6u);
    EXPECT_EQ(moves[2].move.kind, MoveKind::home);
    EXPECT_TRUE(moves[2].move.moves(Axis::Y));
    EXPECT_FALSE(moves[2].move.moves(Axis::X));
    EXPECT_DOUBLE_EQ(moves[2].move.distance[1], -7);
    EXPECT_EQ(moves[3].move.kind, MoveKind::home_all);
    EXPECT_DOUBLE_EQ(moves[3].move.distance[0], -1);  // to where G28.1 stored home
    EXPECT_DOUBLE_EQ(moves[4].move.milliseconds, 500);
    EXPECT_EQ(moves[5].move.kind, MoveKind::end);
    EXPECT_DOUBLE_EQ(moves[1].feed_per_minute, 270);
}

TEST(ProgramReader, AbsoluteWordsBecomeRelativeMoves) {
    const auto moves = read_all(settings_of({}), "G90\nG01 X10 F60\nG01 X4\nG91\nG01 X4");
    ASSERT_EQ(moves.size(), 3u);
    EXPECT_DOUBLE_EQ(moves[0].move.distance[0], 10);
    EXPECT_DOUBLE_EQ(moves[1].move.distance[0], -6);
    EXPECT_DOUBLE_EQ(moves[2].move.distance[0], 4);
}

TEST(ProgramReader, RefusesWhatItCannotFollowNamingTheLine) {
    const struct {
        const char* program;
        const char* message;
    } cases[] = {
        {"G21\nG91\nG01 X1 Q5", "Line 3: unknown word Q"},
        {"G91\nG02 X1 Y1 I1", "Line 2: arcs (G2, G3) cannot be placed by the check"},
        {"G91\nG01 X1\nG83 X1", "Line 3: unknown word G83"},
        {"M98", "Line 1: unknown word M98"},
        {"G91\nG01 A5", "Line 2: unknown word A (no axis of the settings is written as A)"},
        {"G01 X1..2", "Line 1: not G-code this program can read"},
        {"G4", "Line 1: a dwell (G4) without its P word"},
        // Numbers that are no G code are unknown words, never G0 or G1.
        {"G91\nG429496729.6 X1", "Line 2: unknown word G429496729.6"},
        {"G91\nG1e308 X1", "Line 2: unknown word G1e+308"},
        {"G91\nG-1.2 X1", "Line 2: unknown word G-1.2"},
        {"G91\nG0.05 X1", "Line 2: unknown word G0.05"},
        // Figures that would turn the time and the cut into nonsense are refused.
        {"G4 P1e308", "Line 1: a dwell no program needs, P1e+308"},
        {"G4 P-1", "Line 1: a dwell no program needs, P-1"},
        {"G91\nG01 X1 F1e-300", "Line 2: a feedrate no machine can run, F1e-300"},
        {"G91\nG01 X1e308 F60", "Line 2: an axis word beyond 1000 m, X1e+308"},
        {"G91\nG00 X900000\nG00 X900000",
         "Line 3: a move more than 1000 m from where the program started"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.program);
        const std::string message = test::error_of([&] { read_all(settings_of({}), c.program); });
        EXPECT_EQ(message.rfind(c.message, 0), 0u) << message;
    }
}

// The two headers differ in the order of G91 and G28.1; path-mode words do not change it.
TEST(ProgramReader, TellsTheHeadersApartByTheOrderOfIncrementalAndHome) {
    const struct {
        std::vector<const char*> header;
        std::optional<bool> incremental_first;
    } cases[] = {
        {{"G21", "G17 G91 G61", "G28.1"}, true},
        {{"G21", "G17 G91", "G28.1"}, true},
        {{"G21", "G28.1", "G17 G91"}, false},
        {{"G21", "G28.1", "G61", "G17 G91"}, false},
        {{"G21", "G17 G91"}, std::nullopt},
        // What comes after the first move is no header.
        {{"G21", "G91", "G00 X1", "G28.1"}, std::nullopt},
    };
    for (const auto& c : cases) {
        ProgramReader reader(settings_of({}));
        std::vector<ProgramMove> moves;
        for (const char* line : c.header)
            reader.read_line(line, moves);
        EXPECT_EQ(reader.incremental_before_home(), c.incremental_first) << c.header[1];
    }
}

// The program ends at M2 (or M30): what follows is counted, not read.
TEST(ProgramReader, EndsAtTheProgramEnd) {
    for (const char* end : {"M2", "M30"}) {
        ProgramReader reader(settings_of({}));
        std::vector<ProgramMove> moves;
        for (const char* line : {"G91", "G01 X1 F60", end, "G01 X5", "not G-code at all"})
            reader.read_line(line, moves);
        ASSERT_EQ(moves.size(), 2u);
        EXPECT_EQ(moves.back().move.kind, MoveKind::end);
        EXPECT_TRUE(reader.ended());
        EXPECT_EQ(reader.lines(), 5u);
        EXPECT_EQ(reader.position()[0], 1);
    }
}

// Each move carries the path mode in force; a dwell of 0 s is still a dwell (the controller
// stops before it).
TEST(ProgramReader, KeepsThePathModeAndZeroDwells) {
    const std::vector<ProgramMove> moves = read_all(
        settings_of({}), "G91\nG00 X1\nG4 P0.00\nG61\nG00 X1\nG64 P0.02\nG00 X1\nG64\nG00 X1");
    ASSERT_EQ(moves.size(), 5u);
    EXPECT_EQ(moves[0].path, PathMode::startup);
    EXPECT_EQ(moves[1].move.kind, MoveKind::dwell);
    EXPECT_EQ(moves[1].move.milliseconds, 0);
    EXPECT_EQ(moves[2].path, PathMode::exact_stop);
    EXPECT_EQ(moves[3].path, PathMode::blend);
    EXPECT_DOUBLE_EQ(moves[3].tolerance, 0.02);
    EXPECT_EQ(moves[4].tolerance, 0);
}

// Without strictness (the summary of any program): arcs along their chords, other codes passed
// over, the turning axis under the letter it comes with.
TEST(ProgramReader, ReadsAnyProgramWithoutStrictness) {
    MachineSettings settings;
    settings.letter = {'X', 'Y', 'Z', 'W'};
    ProgramReader reader(settings, ReadingRules{.strict = false});
    std::vector<ProgramMove> moves;
    for (const char* line :
         {"G91 (open comment", "G02 X10 Y10 I10 J0 F600", "G83 Q5 X1", "G00 A90", "G-1.2 X1"})
        reader.read_line(line, moves);
    ASSERT_EQ(moves.size(), 4u);
    EXPECT_TRUE(moves[0].arc);
    EXPECT_EQ(moves[0].move.kind, MoveKind::feed);
    EXPECT_EQ(moves[3].move.distance[0], 1);
    EXPECT_EQ(moves[2].move.distance[3], 90);
    EXPECT_EQ(reader.letters()[3], 'A');
}

}  // namespace
}  // namespace ostrivane

namespace ostrivane {
namespace {

// The check reads a program once: the design of its kind is asked for when the first move
// comes, as the caller says (the window knows what it wrote) or else as the header tells.
TEST(ProgramKindOnce, TheDesignIsAskedForOnceWithTheKind) {
    const char* joint = "G21\nG17 G91 G61\nG28.1\nG00 X1 Y0.0 Z0.0 F270\nM2\n";
    const char* turning_with_g61 = "G21\nG28.1\nG61\nG17 G91\nG00 X1 Y0.0 Z0.0 F270\nM2\n";
    const struct {
        const char* program;
        std::optional<ProgramKind> told;
        ProgramKind expected;
    } cases[] = {
        {joint, std::nullopt, ProgramKind::finger_joint},
        {turning_with_g61, std::nullopt, ProgramKind::turning},
        {joint, ProgramKind::turning, ProgramKind::turning},
        {turning_with_g61, ProgramKind::finger_joint, ProgramKind::finger_joint},
    };
    for (const auto& c : cases) {
        CheckInputs inputs;
        inputs.settings = settings_of({});
        inputs.kind = c.told;
        std::vector<ProgramKind> asked;
        inputs.design_for = [&](ProgramKind kind, CheckInputs&) { asked.push_back(kind); };
        const CheckReport report = check_program_text(c.program, inputs);
        ASSERT_EQ(asked.size(), 1u) << c.program;
        EXPECT_EQ(asked[0], c.expected) << c.program;
        EXPECT_EQ(report.kind, c.expected) << c.program;
    }
}

}  // namespace
}  // namespace ostrivane
