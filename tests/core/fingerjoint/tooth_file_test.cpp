#include "core/fingerjoint/tooth_file.h"

#include <gtest/gtest.h>

#include "core/app/field_values.h"
#include "core/app/main_window_fields.h"
#include "core/gcode/gcode_program.h"
#include "core/text/ascii_text.h"
#include "core/text/error.h"
#include "core/text/file_io.h"
#include "support/scripted_operator.h"
#include "support/temp_dir.h"

namespace ostrivane {
namespace {

std::string tooth_text(const std::vector<std::pair<const char*, const char*>>& settings) {
    FieldValues fields(main_window_components());
    for (const auto& [name, text] : settings)
        fields.set_text(name, text);
    test::ScriptedOperator op;
    TfastRec job;
    EXPECT_TRUE(Getdata(fields, op, job));
    StringSink out;
    JobContext context;
    write_tooth_lines(out, job, context);
    return out.text();
}

TEST(ToothFile, Lines) {
    EXPECT_EQ(tooth_text({}),
              "2\r\n"
              " 0.00000000000000E+0000\r\n 1.00000000000000E+0001\r\n 1.00000000000000E+0001\r\n"
              " 2.00000000000000E+0001\r\n 3.00000000000000E+0001\r\n 1.00000000000000E+0001\r\n");
    // Negative, zero and positive edges; a depth of 0.
    EXPECT_EQ(tooth_text({{"start_x", "-20"}, {"no_cuts", "3"}, {"cut_depth", "0"}}),
              "3\r\n"
              "-2.00000000000000E+0001\r\n-1.00000000000000E+0001\r\n 0.00000000000000E+0000\r\n"
              " 0.00000000000000E+0000\r\n 1.00000000000000E+0001\r\n 0.00000000000000E+0000\r\n"
              " 2.00000000000000E+0001\r\n 3.00000000000000E+0001\r\n 0.00000000000000E+0000\r\n");
    EXPECT_EQ(
        tooth_text(
            {{"no_cuts", "1"}, {"cut_width", "3.2"}, {"start_x", "0.25"}, {"cut_depth", "-1.5"}}),
        "1\r\n"
        " 2.50000000000000E-0001\r\n 3.45000000000000E+0000\r\n-1.50000000000000E+0000\r\n");
}

struct WriteTnd : ::testing::Test {
    test::TempHome home;
    test::TempDir elsewhere;
    FieldValues fields{main_window_components()};
    test::ScriptedOperator op;
    TfastRec fast_record;
    JobContext context;
};

TEST_F(WriteTnd, GoesToTheDocumentsFolderWhateverTheGcodeFolder) {
    fields.set_text("GcodeFolder", elsewhere.path().string());
    fields.set_text("mot_name", "Karvik");
    const auto docs = home.dir() / "Documents";
    const auto written = write_tndClick(fields, op, fast_record, {docs}, context);
    const std::string file = (docs / "Karvik.tnd").string();
    EXPECT_EQ(written, file);
    EXPECT_EQ(read_file(file), tooth_text({}));
    EXPECT_EQ(op.messages, std::vector<std::string>{file + " written"});
    EXPECT_TRUE(std::filesystem::is_empty(elsewhere.path()));
}

TEST_F(WriteTnd, NoFileWhenRefusedOrNotWritable) {
    const auto docs = home.dir() / "Documents";
    fields.set_text("Pin_width", "0");
    EXPECT_FALSE(write_tndClick(fields, op, fast_record, {docs}, context));
    EXPECT_EQ(op.messages,
              std::vector<std::string>{"Please do not enter numbers less than or equal zero"});
    EXPECT_TRUE(std::filesystem::is_empty(docs));

    fields.set_text("Pin_width", "10");
    fields.set_text("no_cuts", "2147483647");
    EXPECT_THROW(write_tndClick(fields, op, fast_record, {docs}, context), Error);
    EXPECT_TRUE(std::filesystem::is_empty(docs));

    op.messages.clear();
    fields.set_text("no_cuts", "2");
    EXPECT_THROW(write_tndClick(fields, op, fast_record, {docs / "missing" / "deeper"}, context),
                 Error);
    EXPECT_TRUE(op.messages.empty());
    EXPECT_TRUE(std::filesystem::is_empty(docs));
}

TEST_F(WriteTnd, MissingDocumentsFolderIsCreated) {
    const auto docs = home.dir() / "Dokumente";
    const auto written = write_tndClick(fields, op, fast_record, {docs}, context);
    EXPECT_EQ(written, (docs / "Karvik.tnd").string());
    EXPECT_EQ(read_file(docs / "Karvik.tnd"), tooth_text({}));
}

TEST_F(WriteTnd, ValuesThatAreNoNumbersAreRefusedBeforeTheFileIsMade) {
    const auto docs = home.dir() / "Documents";
    struct Case {
        std::vector<std::pair<const char*, const char*>> settings;
        const char* message;
    };
    const Case cases[] = {
        // The pitch overflows: slot 1's offset is 0 times infinity.
        {{{"cut_width", "1e308"}, {"Pin_width", "1e308"}},
         "Cannot write an undefined left edge for slot 1."},
        {{{"cut_width", "8e307"}, {"Pin_width", "8e307"}, {"no_cuts", "3"}},
         "Cannot write an infinite right edge for slot 2."},
        {{{"start_x", "1e308"}, {"cut_width", "5e307"}, {"Pin_width", "5e307"}},
         "Cannot write an infinite left edge for slot 2."},
    };
    for (const Case& c : cases) {
        FieldValues f(main_window_components());
        for (const auto& [name, text] : c.settings)
            f.set_text(name, text);
        try {
            write_tndClick(f, op, fast_record, {docs}, context);
            ADD_FAILURE() << c.message;
        } catch (const Error& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
        EXPECT_TRUE(std::filesystem::is_empty(docs)) << c.message;
    }
    // Huge but finite values are written as the numbers they are.
    FieldValues f(main_window_components());
    f.set_text("cut_width", "5e307");
    f.set_text("Pin_width", "5e307");
    EXPECT_TRUE(write_tndClick(f, op, fast_record, {docs}, context));
    EXPECT_EQ(split_lines(*read_file(docs / "Karvik.tnd"))[5], " 1.50000000000000E+0308");
}

// Cancels when first asked.
struct CancelAtOnce final : JobContext {
    bool cancelled() const override { return true; }
};

TEST_F(WriteTnd, CancelLeavesNoFile) {
    const auto docs = home.dir() / "Documents";
    fields.set_text("no_cuts", "5000");
    CancelAtOnce cancel;
    for (const bool staged : {false, true}) {
        EXPECT_THROW(write_tndClick(fields, op, fast_record, {docs, std::nullopt, staged}, cancel),
                     JobCancelled);
        EXPECT_TRUE(std::filesystem::is_empty(docs));
    }
    // Short files never look up.
    fields.set_text("no_cuts", "1024");
    EXPECT_TRUE(write_tndClick(fields, op, fast_record, {docs}, cancel));
}

}  // namespace
}  // namespace ostrivane
