#include "core/editor/spline_program.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/text/error.h"
#include "core/text/file_io.h"
#include "support/error_of.h"
#include "support/file_fixtures.h"
#include "support/temp_dir.h"

namespace ostrivane {
namespace {
namespace fs = std::filesystem;

TEST(SplineProgram, PairIsNamedAfterTheProgramInTheDataFolder) {
    test::TempDir dir;
    const SplineProgramFiles files = spline_program_files(dir.path(), "Karvik");
    EXPECT_EQ(files.gof, dir / "Karvik.gof");
    EXPECT_EQ(files.spl, dir / "Karvik.spl");
    EXPECT_FALSE(spline_program_exists(files));
    write_file_atomically(files.spl, "x");
    EXPECT_TRUE(spline_program_exists(files));
}

TEST(SplineProgram, NamesThatLeaveTheFolderAreRefused) {
    for (const char* name : {"", "..", "../Karvik", "a/b", "a\\b"}) {
        SCOPED_TRACE(name);
        EXPECT_THROW(spline_program_files("/tmp", name), Error);
    }
}

TEST(SplineProgram, WritesBothFiles) {
    test::TempDir dir;
    const SplineProgramFiles files = spline_program_files(dir.path(), "job");
    write_spline_program(files, "state", "spline");
    EXPECT_EQ(read_file(files.gof), "state");
    EXPECT_EQ(read_file(files.spl), "spline");
    write_spline_program(files, "state 2", "spline 2");
    EXPECT_EQ(read_file(files.gof), "state 2");
    EXPECT_EQ(read_file(files.spl), "spline 2");
}

TEST(SplineProgram, AFailedSplineFileLeavesBothOldFiles) {
    test::TempDir dir;
    const SplineProgramFiles files = spline_program_files(dir.path(), "job");
    write_file_atomically(files.gof, "old state");
    // A folder where the spline file should go cannot be replaced by a file.
    fs::create_directory(files.spl);
    EXPECT_THROW(write_spline_program(files, "new state", "new spline"), Error);
    EXPECT_EQ(read_file(files.gof), "old state");
    EXPECT_TRUE(fs::is_directory(files.spl));
}

TEST(SplineProgram, AFailedSplineFileRemovesAStateFileThatWasNotThereBefore) {
    test::TempDir dir;
    const SplineProgramFiles files = spline_program_files(dir.path(), "job");
    fs::create_directory(files.spl);
    EXPECT_THROW(write_spline_program(files, "new state", "new spline"), Error);
    EXPECT_FALSE(fs::exists(files.gof));
}

TEST(SplineProgram, DeviceOrPipeInTheSplineFilesPlaceIsRefusedUnread) {
    test::TempDir dir;
    const SplineProgramFiles files = spline_program_files(dir.path(), "job");
    write_file_atomically(files.gof, "old state");
    // Reading /dev/full or a pipe as the old spline file would never end.
    struct Case {
        fs::path target;
        std::string reason;
    };
    std::vector<Case> cases;
    std::error_code ec;
    if (fs::exists("/dev/full", ec))
        cases.push_back({"/dev/full", "it is a device, not a regular file."});
    if (test::make_fifo(dir / "pipe"))
        cases.push_back({dir / "pipe", "it is a pipe (fifo), not a regular file."});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target.string());
        fs::remove(files.spl);
        fs::create_symlink(c.target, files.spl);
        EXPECT_EQ(test::error_of([&] { write_spline_program(files, "new state", "new spline"); }),
                  "Cannot write file " + files.spl.string() + ": " + c.reason);
        EXPECT_EQ(read_file(files.gof), "old state");
    }
}

}  // namespace
}  // namespace ostrivane
