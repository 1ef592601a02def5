#include "core/check/program_reader.h"

#include <gtest/gtest.h>

#include "core/app/field_values.h"
#include "core/app/main_window_fields.h"
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
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.program);
        const std::string message = test::error_of([&] { read_all(settings_of({}), c.program); });
        EXPECT_EQ(message.rfind(c.message, 0), 0u) << message;
    }
}

TEST(ProgramReader, TellsTheFingerJointHeaderByItsExactStop) {
    ProgramReader joint(settings_of({}));
    ProgramReader turning(settings_of({}));
    std::vector<ProgramMove> moves;
    for (const char* line : {"G21", "G17 G91 G61", "G28.1", "G00 X1 Y0.0 Z0.0 F270"})
        joint.read_line(line, moves);
    for (const char* line : {"G21", "G28.1", "G17 G91", "G00 X1 Y0.0 Z0.0 F270", "G61"})
        turning.read_line(line, moves);
    EXPECT_TRUE(joint.exact_stop_header());
    EXPECT_FALSE(turning.exact_stop_header());
}

}  // namespace
}  // namespace ostrivane
