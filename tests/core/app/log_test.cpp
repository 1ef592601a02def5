#include "core/app/log.h"

#include <gtest/gtest.h>

#include <fstream>

#include "core/app/field_values.h"
#include "core/app/main_window_fields.h"
#include "core/text/error.h"
#include "core/text/file_io.h"
#include "support/error_of.h"
#include "support/file_fixtures.h"
#include "support/temp_dir.h"

namespace ostrivane {
namespace {
using test::error_of;

class LogTest : public ::testing::Test {
  protected:
    LogTest() : log_(fields_, [] { return std::string("Mon 5 Jan at 14:03:07:045"); }) {
        log_.open(dir_ / "Ostrivane.log");
    }
    void switches(bool screen, bool file) {
        fields_.set_component_checked("Write_log_screen", screen);
        fields_.set_component_checked("write_log", file);
    }
    std::string file_text() { return read_file(dir_ / "Ostrivane.log").value(); }
    void grow_file_to(std::uintmax_t size) {
        std::filesystem::resize_file(dir_ / "Ostrivane.log", size);
    }

    test::TempDir dir_;
    FieldValues fields_{main_window_components()};
    Log log_;
};

TEST_F(LogTest, SwitchesDecideWhereALineGoes) {
    switches(false, false);
    EXPECT_FALSE(log_.keeps_notices());
    log_.log("dropped", false);
    EXPECT_TRUE(log_.screen_lines().empty());
    log_.log("alarm", true);
    EXPECT_EQ(log_.screen_lines().back(), "Mon 5 Jan at 14:03:07:045 : alarm");
    EXPECT_EQ(log_.critical_lines().back(), "Mon 5 Jan at 14:03:07:045 : alarm");
    EXPECT_EQ(file_text(), "");
    switches(false, true);
    EXPECT_TRUE(log_.keeps_notices());
    log_.log("to file", false);
    EXPECT_EQ(file_text(), "Mon 5 Jan at 14:03:07:045 : to file\r\n");
    EXPECT_EQ(log_.screen_lines().size(), 2u);
    EXPECT_EQ(log_.critical_lines().size(), 1u);
}

TEST_F(LogTest, ScreenKeepsTheLast251Lines) {
    switches(true, false);
    for (int i = 1; i <= 300; ++i)
        log_.log(std::to_string(i), false);
    ASSERT_EQ(log_.screen_lines().size(), 251u);
    EXPECT_EQ(log_.screen_lines().front(), "Mon 5 Jan at 14:03:07:045 : 50");
    EXPECT_EQ(log_.screen_lines().back(), "Mon 5 Jan at 14:03:07:045 : 300");
}

TEST_F(LogTest, WarningOnceFromTheLowerThreshold) {
    switches(false, true);
    grow_file_to(9'000'063);
    log_.log("a", false);
    EXPECT_FALSE(log_.file_warning_given());
    grow_file_to(9'000'064);
    log_.log("b", false);
    log_.log("c", false);
    const std::string text = file_text();
    const std::string tail = text.substr(9'000'064);
    EXPECT_EQ(tail,
              "Mon 5 Jan at 14:03:07:045 : WARNING, one of the logfiles has almost reached its "
              "maximum size. Automatic cleanup will follow soon.\r\n"
              "Mon 5 Jan at 14:03:07:045 : b\r\nMon 5 Jan at 14:03:07:045 : c\r\n");
    EXPECT_EQ(log_.critical_lines().size(), 1u);
}

TEST_F(LogTest, EmptiedFromTheUpperThreshold) {
    switches(false, true);
    grow_file_to(9'000'064);
    log_.log("warned", false);
    grow_file_to(10'000'127);
    log_.log("still", false);
    EXPECT_GT(file_text().size(), 10'000'127u);
    grow_file_to(10'000'128);
    log_.log("fresh", false);
    EXPECT_EQ(file_text(),
              "Mon 5 Jan at 14:03:07:045 : WARNING, one of the logfiles has reached maximum size. "
              "Cleaning up right now.\r\nMon 5 Jan at 14:03:07:045 : fresh\r\n");
    EXPECT_FALSE(log_.file_warning_given());
}

TEST_F(LogTest, FileFoundPastBothThresholdsIsEmptiedWithoutAWarningFirst) {
    switches(false, true);
    grow_file_to(12'000'000);
    log_.log("fresh", false);
    EXPECT_EQ(file_text(),
              "Mon 5 Jan at 14:03:07:045 : WARNING, one of the logfiles has reached maximum size. "
              "Cleaning up right now.\r\nMon 5 Jan at 14:03:07:045 : fresh\r\n");
}

TEST_F(LogTest, ReopenAppendsAndClearsTheMemos) {
    switches(true, true);
    log_.log("first run", false);
    log_.close();
    log_.open(dir_ / "Ostrivane.log");
    EXPECT_TRUE(log_.screen_lines().empty());
    log_.log("second run", false);
    EXPECT_EQ(
        file_text(),
        "Mon 5 Jan at 14:03:07:045 : first run\r\nMon 5 Jan at 14:03:07:045 : second run\r\n");
}

TEST(LogFailure, FileErrorRaisedWithItsCauseAndMemosUntouched) {
    test::TempDir dir;
    FieldValues fields(main_window_components());
    Log log(fields);
    const std::string file = (dir / "missing" / "Ostrivane.log").string();
    EXPECT_EQ(error_of([&] { log.open(file); }),
              "Cannot open the log file " + file + ": No such file or directory");
    fields.set_component_checked("write_log", true);
    EXPECT_EQ(error_of([&] { log.log("x", false); }),
              "Cannot write the log file " + file +
                  ": it could not be opened (No such file or directory)");
    EXPECT_TRUE(log.screen_lines().empty());

    // Never opened at all, because its folder could not be made.
    log.not_opened(file, "the data folder could not be created");
    EXPECT_EQ(error_of([&] { log.log("x", true); }),
              "Cannot write the log file " + file +
                  ": it could not be opened (the data folder could not be created)");
    EXPECT_TRUE(log.critical_lines().empty());
}

TEST(LogFailure, WriteErrorGivesTheSystemsReason) {
    test::TempDir dir;
    FieldValues fields(main_window_components());
    fields.set_component_checked("write_log", true);
    Log log(fields);
    log.open(dir / "Ostrivane.log");
    test::FileSizeLimit full(100);
    if (!full.active())
        GTEST_SKIP() << "no file size limit on this system";
    EXPECT_EQ(error_of([&] { log.log(std::string(200, 'x'), false); }),
              "Cannot write the log file " + (dir / "Ostrivane.log").string() + ": File too large");
}

TEST(LogFailure, APipeInThePlaceOfTheFileIsNotOpened) {
    test::TempDir dir;
    if (!test::make_fifo(dir / "Ostrivane.log"))
        GTEST_SKIP() << "no named pipes on this system";
    FieldValues fields(main_window_components());
    Log log(fields);
    EXPECT_EQ(error_of([&] { log.open(dir / "Ostrivane.log"); }),
              "Cannot open the log file " + (dir / "Ostrivane.log").string() +
                  ": it is not a regular file");
}

TEST(LogTimeStamp, EnglishShape) {
    const std::string stamp = english_time_stamp();
    // "Mon 5 Jan at 14:03:07:045": day, day of month, month, " at ", hh:mm:ss:zzz
    const auto at = stamp.find(" at ");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(stamp.size() - at, 4u + 12u);
    EXPECT_EQ(stamp[at + 6], ':');
    EXPECT_EQ(stamp[at + 12], ':');
}

}  // namespace
}  // namespace ostrivane
