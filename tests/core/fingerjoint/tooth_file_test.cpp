#include "core/fingerjoint/tooth_file.h"

#include <gtest/gtest.h>

#include "core/app/field_values.h"
#include "core/app/main_window_fields.h"
#include "support/scripted_operator.h"
#include "core/text/error.h"
#include "core/text/file_io.h"
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
    write_tooth_lines(out, job);
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
};

TEST_F(WriteTnd, GoesToTheDocumentsFolderWhateverTheGcodeFolder) {
    fields.set_text("GcodeFolder", elsewhere.path().string());
    fields.set_text("mot_name", "Karvik");
    const auto docs = home.dir() / "Documents";
    const auto written = write_tndClick(fields, op, fast_record, {docs});
    const std::string file = (docs / "Karvik.tnd").string();
    EXPECT_EQ(written, file);
    EXPECT_EQ(read_file(file), tooth_text({}));
    EXPECT_EQ(op.messages, std::vector<std::string>{file + " written"});
    EXPECT_TRUE(std::filesystem::is_empty(elsewhere.path()));
}

TEST_F(WriteTnd, NoFileWhenRefusedOrNotWritable) {
    const auto docs = home.dir() / "Documents";
    fields.set_text("Pin_width", "0");
    EXPECT_FALSE(write_tndClick(fields, op, fast_record, {docs}));
    EXPECT_EQ(op.messages,
              std::vector<std::string>{"Please do not enter numbers less than or equal zero"});
    EXPECT_TRUE(std::filesystem::is_empty(docs));

    fields.set_text("Pin_width", "10");
    fields.set_text("no_cuts", "2147483647");
    EXPECT_THROW(write_tndClick(fields, op, fast_record, {docs}), Error);
    EXPECT_TRUE(std::filesystem::is_empty(docs));

    op.messages.clear();
    EXPECT_THROW(write_tndClick(fields, op, fast_record, {docs / "missing"}), Error);
    EXPECT_TRUE(op.messages.empty());
}

}  // namespace
}  // namespace ostrivane
