#include "core/gcode/gcode_program.h"

#include <gtest/gtest.h>

#include "core/app/field_values.h"
#include "core/app/main_window_fields.h"
#include "core/text/error.h"
#include "core/text/file_io.h"
#include "support/error_of.h"
#include "support/scripted_operator.h"
#include "support/temp_dir.h"

namespace ostrivane {
namespace {
namespace fs = std::filesystem;

constexpr char sep = static_cast<char>(fs::path::preferred_separator);

const std::string finger_header =
    "(GCODE created by Ostrivane, https://ostrivane.org)\r\nG21\r\nG17 G91 G61\r\nG28.1\r\n"
    "G43H1\r\nT1M06\r\nS12000 M03\r\n";
const std::string turning_header =
    "(GCODE created by Ostrivane, https://ostrivane.org)\r\nG21\r\nG28.1\r\nG17 G91\r\n"
    "G43H1\r\nT1M06\r\nS12000 M03\r\n";
const std::string footer = "G00 F270\r\nG28 Y0.0\r\nG28\r\nM2\r\n";

struct Frame : ::testing::Test {
    test::TempDir docs;
    test::TempDir gcode;
    FieldValues fields{main_window_components()};
    test::ScriptedOperator op;

    std::string docs_file(const std::string& name) const {
        return docs.path().string() + sep + name;
    }
    std::string run(GcodeJob job, const std::function<void(GcodeProgram&)>& body,
                    OutputDestination where = {}) {
        if (where.documents_folder.empty())
            where.documents_folder = docs.path();
        return write_gcode_program(job, fields, op, "Karvik", where, body);
    }
    std::string error_of(GcodeJob job, const std::function<void(GcodeProgram&)>& body,
                         OutputDestination where = {}) {
        return test::error_of([&] { run(job, body, where); });
    }
};

TEST_F(Frame, FolderRule) {
    const std::string folder = gcode.path().string();
    const std::string missing = (gcode / "missing").string();
    struct Case {
        std::string setting, field_after, file;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"", "", docs_file("Karvik.ngc"), {}},
        {folder, folder + sep, folder + sep + "Karvik.ngc", {}},
        {folder + sep, folder + sep, folder + sep + "Karvik.ngc", {}},
        {missing,
         missing + sep,
         docs_file("Karvik.ngc"),
         {"Path for GCode files in settings is invalid: " + missing + sep +
          ",now writing to: " + docs_file("Karvik.ngc")}},
    };
    for (const Case& c : cases) {
        fields.set_text("GcodeFolder", c.setting);
        op.messages.clear();
        EXPECT_EQ(gcode_file_name(fields, op, "Karvik", docs.path()), c.file);
        EXPECT_EQ(fields.text("GcodeFolder"), c.field_after);
        EXPECT_EQ(op.messages, c.messages);
    }
    EXPECT_EQ(gcode_file_name(fields, op, "", docs.path()), docs_file(".ngc"));
}

TEST_F(Frame, FingerJointProgramFromHeaderToMessage) {
    const std::string file = run(GcodeJob::finger_joint, [](GcodeProgram& p) {
        p.steps('X', 1, true);
        p.steps_combined({1, 2, 3}, false);
    });
    EXPECT_EQ(file, docs_file("Karvik.ngc"));
    EXPECT_EQ(read_file(file), finger_header + "G00 X1.00000000 Y0.0 Z0.0 F270\r\n" +
                                   "G01 X1.00000000 Y2.00000000 Z3.00000000 F270\r\n" + footer);
    EXPECT_EQ(op.messages, std::vector<std::string>{file + " is created."});

    // A second run replaces the file without asking.
    run(GcodeJob::finger_joint, [](GcodeProgram&) {});
    EXPECT_EQ(read_file(file), finger_header + footer);
}

TEST_F(Frame, TurningProgramNamesItsFileFirst) {
    fields.set_text("homefeed", "2");
    const std::string file = run(GcodeJob::turning, [](GcodeProgram&) {});
    EXPECT_EQ(read_file(file), turning_header + "G00 F120\r\nG28 Y0.0\r\nG28\r\nM2\r\n");
    EXPECT_EQ(op.messages,
              (std::vector<std::string>{file + " will be created.", file + " is created."}));
}

TEST_F(Frame, ErrorAfterCreateKeepsTheFileAsWritten) {
    const std::string file = docs_file("Karvik.ngc");
    EXPECT_EQ(error_of(GcodeJob::finger_joint,
                       [](GcodeProgram& p) {
                           p.steps('Y', 1, false);
                           p.steps('R', 0, false);
                       }),
              "Geprobeerd wordt een  actie te herhalen ");
    EXPECT_EQ(read_file(file), finger_header + "G01 X0.0 Y1.00000000 Z0.0 F270\r\n");
    EXPECT_EQ(op.messages, std::vector<std::string>{file + " is created."});

    // A bad setting refuses the job before its file is made: the last one stays.
    op.messages.clear();
    fields.select("GCodeY", -1);
    EXPECT_EQ(error_of(GcodeJob::finger_joint, [](GcodeProgram&) {}),
              "GCode Y-axis has invalid value. Please correct in settings.");
    EXPECT_EQ(read_file(file), finger_header + "G01 X0.0 Y1.00000000 Z0.0 F270\r\n");
    EXPECT_TRUE(op.messages.empty());
}

TEST_F(Frame, AllOrNothingLeavesNoFileOnError) {
    const fs::path target = gcode / "out.ngc";
    write_file_atomically(target, "old");
    OutputDestination where{docs.path(), target, true};
    EXPECT_EQ(error_of(
                  GcodeJob::finger_joint, [](GcodeProgram& p) { p.steps('?', 0, true); }, where),
              "Nonexistent motor specified:?");
    EXPECT_EQ(read_file(target), "old");
    EXPECT_TRUE(op.messages.empty());
    EXPECT_EQ(std::distance(fs::directory_iterator(gcode.path()), fs::directory_iterator()), 1);

    EXPECT_EQ(run(
                  GcodeJob::finger_joint, [](GcodeProgram&) {}, where),
              target.string());
    EXPECT_EQ(read_file(target), finger_header + footer);
    EXPECT_EQ(op.messages, std::vector<std::string>{target.string() + " is created."});
}

TEST_F(Frame, FileThatCannotBeCreated) {
    for (const bool staged : {false, true}) {
        const fs::path target = gcode / "no such folder" / "x.ngc";
        const std::string message =
            error_of(GcodeJob::turning, [](GcodeProgram&) {}, {docs.path(), target, staged});
        EXPECT_EQ(message.rfind("Cannot create file " + target.string(), 0), 0u) << message;
        // Refused before anything announces it: nothing says it will be or was created.
        EXPECT_TRUE(op.messages.empty()) << op.messages.front();
        op.messages.clear();
    }
}

TEST_F(Frame, MissingDocumentsFolderIsCreatedButNotAFolderFromTheSettings) {
    const fs::path fresh = docs / "Dokumente";
    const fs::path missing = gcode / "missing";
    // The setting empty: the fallback folder is made.
    EXPECT_EQ(gcode_file_name(fields, op, "Karvik", fresh), fresh.string() + sep + "Karvik.ngc");
    EXPECT_TRUE(fs::is_directory(fresh));
    EXPECT_TRUE(op.messages.empty());

    // A folder named in the setting is not made; the program goes to the Documents folder.
    fs::remove(fresh);
    fields.set_text("GcodeFolder", missing.string());
    EXPECT_EQ(gcode_file_name(fields, op, "Karvik", fresh), fresh.string() + sep + "Karvik.ngc");
    EXPECT_EQ(op.messages, std::vector<std::string>{
                               "Path for GCode files in settings is invalid: " + missing.string() +
                               sep + ",now writing to: " + fresh.string() + sep + "Karvik.ngc"});
    EXPECT_FALSE(fs::exists(missing));
    EXPECT_TRUE(fs::is_directory(fresh));

    // Only that one folder: a Documents folder whose parent is missing is an error, as is none.
    fields.set_text("GcodeFolder", "");
    const std::string message =
        error_of(GcodeJob::finger_joint, [](GcodeProgram&) {}, {docs / "no" / "Documents"});
    EXPECT_EQ(message.rfind("Cannot create the Documents folder ", 0), 0u) << message;
    EXPECT_FALSE(fs::exists(docs / "no"));
    try {
        write_gcode_program(GcodeJob::finger_joint, fields, op, "Karvik", {}, [](GcodeProgram&) {});
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(),
                     "The Documents folder is not known, so there is nowhere to write the file.");
    }
}

TEST_F(Frame, TapSeesEveryLineOfTheFile) {
    StringSink tap;
    const std::string file = write_gcode_program(
        GcodeJob::turning, fields, op, "Karvik", {docs.path()},
        [](GcodeProgram& p) {
            p.steps_combined({1, 2, 3}, false);
        },
        &tap);
    EXPECT_EQ(read_file(file), tap.text());
    EXPECT_EQ(tap.text(),
              turning_header + "G01 X1.00000000 Y2.00000000 Z3.00000000 F270\r\n" + footer);
}

TEST_F(Frame, CancelledJobLeavesNoFile) {
    for (const bool staged : {false, true}) {
        const fs::path target = gcode / "out.ngc";
        write_file_atomically(target, "old");
        op.messages.clear();
        try {
            run(GcodeJob::turning,
                [](GcodeProgram& p) {
                    p.steps('X', 1, true);
                    throw JobCancelled();
                },
                {docs.path(), target, staged});
            FAIL() << "not cancelled";
        } catch (const JobCancelled& e) {
            EXPECT_EQ(e.file(), target.string());
            EXPECT_EQ(std::string(e.what()), target.string() + " cancelled, no file written");
        }
        // Nothing claims the file was made, nothing of the job is left, and an older file of that
        // name stays as it was.
        EXPECT_EQ(op.messages, std::vector<std::string>{target.string() + " will be created."});
        EXPECT_EQ(read_file(target), "old") << staged;
        EXPECT_EQ(std::distance(fs::directory_iterator(gcode.path()), fs::directory_iterator()), 1);
    }
}

TEST(LineWriterTest, AsciiWithCrLf) {
    test::TempDir dir;
    LineWriter w(dir / "a.ngc", LineWriter::Mode::in_place);
    w.write_line("(Zaagblad \xC3\xA9\xE2\x82\xAC)");
    w.write_line("");
    w.commit();
    EXPECT_EQ(read_file(dir / "a.ngc"),
              "(Zaagblad ?"
              "?)\r\n\r\n");
}

}  // namespace
}  // namespace ostrivane
