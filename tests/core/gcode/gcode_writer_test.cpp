#include "core/gcode/gcode_writer.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/app/field_values.h"
#include "core/app/main_window_fields.h"
#include "core/gcode/axis_mapping.h"
#include "core/gcode/machine_settings.h"
#include "core/text/error.h"
#include "support/error_of.h"

namespace ostrivane {
namespace {
using test::error_of;

struct Motion {
    FieldValues fields{main_window_components()};
    StringSink out;

    std::string steps(char stepper, double mm, bool fast) {
        GcodeWriter(read_machine_settings(fields), out).steps(stepper, mm, fast);
        return out.text();
    }
    std::string combined(std::array<double, 3> mm, bool fast) {
        GcodeWriter(read_machine_settings(fields), out).steps_combined(mm, fast);
        return out.text();
    }
};

struct StepCase {
    char stepper;
    double mm;
    bool fast;
    const char* lines;
};

TEST(Steps, DefaultSettings) {
    const StepCase cases[] = {
        {'X', 12.5, true, "G00 X12.50000000 Y0.0 Z0.0 F270\r\n"},
        {'Y', 10, false, "G01 X0.0 Y10.00000000 Z0.0 F270\r\n"},
        {'Z', -3.2, false, "G01 X0.0 Y0.0 Z-3.20000000 F270\r\n"},
        {'W', 0, true, "G00 X0.0 Y0.0 Z0.0 W0.00000000 F270\r\n"},
        {'x', -0.0, false, "G01 X0.00000000 Y0.0 Z0.0 F270\r\n"},
        {'A', 99, true, "G00 F270\r\nG28 X0.0\r\n"},
        {'B', 5, true, "G00 F270\r\nG28 Y0.0\r\n"},
        {'c', 5, false, "G01 F270\r\nG28 Z0.0\r\n"},
        {'D', 500, false, "G4 P0.50\r\n"},
        {'D', 3.2, false, "G4 P0.00\r\n"},
        {'D', 125, false, "G4 P0.12\r\n"},
        {'D', 5, false, "G4 P0.01\r\n"},
        {'d', 12345, true, "G4 P12.35\r\n"},
        {'D', 0, false, ""},
        {'D', -10, false, ""},
        {'E', 1, false, "M2\r\n"},
        {'Q', 1, false, ""},
    };
    for (const StepCase& c : cases) {
        Motion m;
        EXPECT_EQ(m.steps(c.stepper, c.mm, c.fast), c.lines) << c.stepper << " " << c.mm;
    }
    Motion m;
    EXPECT_EQ(m.combined({1, 2, 3}, false), "G01 X1.00000000 Y2.00000000 Z3.00000000 F270\r\n");
}

TEST(Steps, FeedRowsAndUnits) {
    auto with_feeds = [] {
        Motion m;
        m.fields.set_text("finemillfeed", "1");
        m.fields.set_text("normfeed", "3.33");
        m.fields.set_text("homefeed", "100");
        return m;
    };
    EXPECT_EQ(with_feeds().steps('X', 1, false), "G01 X1.00000000 Y0.0 Z0.0 F60\r\n");
    EXPECT_EQ(with_feeds().steps('X', 1, true), "G00 X1.00000000 Y0.0 Z0.0 F199.8\r\n");
    EXPECT_EQ(with_feeds().steps('A', 0, true), "G00 F6000\r\nG28 X0.0\r\n");
    EXPECT_EQ(with_feeds().steps('A', 0, false), "G01 F199.8\r\nG28 X0.0\r\n");
    EXPECT_EQ(with_feeds().combined({0, 0, 0}, true),
              "G00 X0.00000000 Y0.00000000 Z0.00000000 F199.8\r\n");
}

TEST(Steps, MappingAndInversion) {
    Motion m;
    m.fields.assign("GcodeX", "Y");
    m.fields.assign("GCodeY", "X");
    m.fields.assign("GCodeW", "X");
    m.fields.assign("InvertZ", "true");
    m.fields.assign("InvertW", "true");
    m.fields.assign("InvertX", "true");
    m.steps('Z', -3.2, false);
    m.steps('W', 2, true);
    m.steps('A', 0, true);
    m.steps('B', 0, true);
    m.combined({1, -2, 3}, false);
    // Inversion applies to distances only; a W mapped to X gives a second X word.
    EXPECT_EQ(m.out.text(),
              "G01 Y0.0 X0.0 Z3.20000000 F270\r\n"
              "G00 Y0.0 X0.0 Z0.0 X-2.00000000 F270\r\n"
              "G00 F270\r\nG28 Y0.0\r\n"
              "G00 F270\r\nG28 X0.0\r\n"
              "G01 Y-1.00000000 X-2.00000000 Z-3.00000000 F270\r\n");

    Motion same;
    same.fields.assign("GCodeY", "X");
    EXPECT_EQ(same.steps('Y', 1, false), "G01 X0.0 X1.00000000 Z0.0 F270\r\n");
}

TEST(Steps, ErrorsWriteNothing) {
    struct Case {
        const char* field;
        const char* text;
        char stepper;
        bool fast;
        const char* message;
    };
    // The field that is not used on the line still stops it.
    const Case cases[] = {
        {"finemillfeed", "4,5", 'X', true,
         "4,5 inside Fine milling feedrate (mm/sec.) is not a valid floating point number."},
        {"normfeed", "", 'Z', false,
         " inside Normal feedrate (mm/sec.) is not a valid floating point number."},
        {"normfeed", "x", 'W', false,
         "x inside Normal feedrate (mm/sec.) is not a valid floating point number."},
    };
    for (const Case& c : cases) {
        Motion m;
        m.fields.set_text(c.field, c.text);
        EXPECT_EQ(error_of([&] { m.steps(c.stepper, 1, c.fast); }), c.message) << c.field;
        EXPECT_EQ(error_of([&] { m.combined({1, 1, 1}, c.fast); }), c.message) << c.field;
        EXPECT_EQ(m.out.text(), "");
    }

    // Numbers that would reach the file as "inf" or "nan".
    Motion huge;
    huge.fields.set_text("homefeed", "1e307");
    EXPECT_EQ(error_of([&] { huge.steps('B', 0, false); }),
              "1e307 inside Homing feedrate (mm/sec.) is too large for a feedrate.");
    EXPECT_EQ(huge.out.text(), "");
    Motion endless;
    EXPECT_EQ(error_of([&] { endless.steps('Z', 1e308 * 10, true); }),
              "Cannot write a move of infinite length for the Z axis.");
    EXPECT_EQ(error_of([&] {
                  endless.combined({0, std::nan(""), 0}, true);
              }),
              "Cannot write a move of undefined length for the Y axis.");
    EXPECT_EQ(endless.out.text(), "");

    Motion m;
    EXPECT_EQ(error_of([&] { m.steps('R', 1, true); }), "Geprobeerd wordt een  actie te herhalen ");
    EXPECT_EQ(error_of([&] { m.steps('k', 1, true); }), "Nonexistent motor specified:k");
    EXPECT_EQ(error_of([&] { m.steps('1', 1, true); }), "Nonexistent motor specified:1");
    EXPECT_EQ(m.out.text(), "");
}

TEST(Steps, UnsetSelector) {
    const struct {
        const char* selector;
        const char* message;
    } cases[] = {
        {"GcodeX", "GCode X-axis has invalid value. Please correct in settings."},
        {"GCodeY", "GCode Y-axis has invalid value. Please correct in settings."},
        {"GCodeZ", "GCode Z-axis has invalid value. Please correct in settings."},
    };
    for (const auto& c : cases) {
        Motion m;
        m.fields.select(c.selector, -1);
        EXPECT_EQ(error_of([&] { m.steps('X', 1, true); }), c.message);
        EXPECT_EQ(error_of([&] { m.combined({1, 1, 1}, true); }), c.message);
        EXPECT_EQ(m.out.text(), "");
    }

    // Only a W move needs the W letter.
    Motion w;
    w.fields.select("GCodeW", 7);  // one past the last letter
    EXPECT_EQ(w.steps('X', 1, true), "G00 X1.00000000 Y0.0 Z0.0 F270\r\n");
    EXPECT_EQ(error_of([&] { w.steps('W', 1, true); }),
              "GCode W-axis has invalid value. Please correct in settings.");
    EXPECT_EQ(error_of([&] { get_mapped_W(w.fields); }),
              "GCode W-axis has invalid value. Please correct in settings.");

    // Homing, too, is refused before any of its lines is written.
    Motion home;
    home.fields.select("GCodeY", -1);
    EXPECT_EQ(error_of([&] { home.steps('B', 5, true); }),
              "GCode Y-axis has invalid value. Please correct in settings.");
    EXPECT_EQ(home.out.text(), "");
}

TEST(MachineSettingsRead, TheFirstBadSettingInTheOrderOfAMoveLineWins) {
    // A move line needs the letters of X, Y and Z, then the normal and the fine-milling feed;
    // the footer's homing needs the homing feed.
    FieldValues fields(main_window_components());
    fields.set_text("homefeed", "h");
    fields.set_text("finemillfeed", "f");
    fields.set_text("normfeed", "n");
    fields.select("GCodeZ", -1);
    const std::string z = "GCode Z-axis has invalid value. Please correct in settings.";
    EXPECT_EQ(error_of([&] { read_machine_settings(fields); }), z);
    fields.select("GCodeZ", 2);
    EXPECT_EQ(error_of([&] { read_machine_settings(fields); }),
              "n inside Normal feedrate (mm/sec.) is not a valid floating point number.");
    fields.set_text("normfeed", "4.5");
    EXPECT_EQ(error_of([&] { read_machine_settings(fields); }),
              "f inside Fine milling feedrate (mm/sec.) is not a valid floating point number.");
    fields.set_text("finemillfeed", "4.5");
    EXPECT_EQ(error_of([&] { read_machine_settings(fields); }),
              "h inside Homing feedrate (mm/sec.) is not a valid floating point number.");
}

TEST(GcodeWriterJob, SettingsAreReadOnceWhenTheJobStarts) {
    FieldValues fields(main_window_components());
    StringSink out;
    GcodeWriter writer(read_machine_settings(fields), out);
    writer.steps('X', 1, true);
    fields.set_text("normfeed", "oops");
    fields.assign("GcodeX", "W");
    writer.steps('X', 1, true);
    EXPECT_EQ(out.text(),
              "G00 X1.00000000 Y0.0 Z0.0 F270\r\n"
              "G00 X1.00000000 Y0.0 Z0.0 F270\r\n");
}

TEST(GcodeWriterJob, KeepsWhereTheMovesHaveTakenTheMachine) {
    FieldValues fields(main_window_components());
    fields.assign("InvertX", "true");
    StringSink out;
    GcodeWriter writer(read_machine_settings(fields), out);
    writer.steps('X', 2.5, true);
    writer.steps_combined({1, 4, -3}, false);
    writer.steps('W', 90, true);
    EXPECT_EQ(writer.position(), (std::array<double, 4>{3.5, 4, -3, 90}));
    writer.steps('B', 0, true);
    EXPECT_EQ(writer.position(), (std::array<double, 4>{3.5, 0, -3, 90}));
    writer.move(Move::home_everything());
    EXPECT_EQ(writer.position(), (std::array<double, 4>{}));
}

}  // namespace
}  // namespace ostrivane
