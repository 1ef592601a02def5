#include "core/text/file_io.h"

#include <gtest/gtest.h>

#include "core/text/error.h"
#include "support/temp_dir.h"

namespace ostrivane {
namespace {

TEST(FileIo, AtomicWriteReplacesWholeAndLeavesNoTemporary) {
    test::TempDir dir;
    const auto file = dir / "Settings.ini";
    write_file_atomically(file, "old contents");
    write_file_atomically(file, std::string("new\0bytes", 9));
    EXPECT_EQ(read_file(file), std::string("new\0bytes", 9));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(FileIo, FailedAtomicWriteKeepsTheOldFile) {
    test::TempDir dir;
    const auto file = dir / "Settings.ini";
    write_file_atomically(file, "precious");
    // A folder in the temporary file's place makes the write fail before the rename.
    std::filesystem::create_directory(dir / "Settings.ini.saving");
    EXPECT_THROW(write_file_atomically(file, "lost?"), Error);
    EXPECT_EQ(read_file(file), "precious");
}

TEST(FileIo, MissingFileReadsAsNothing) {
    test::TempDir dir;
    EXPECT_EQ(read_file(dir / "none"), std::nullopt);
    EXPECT_THROW(write_file(dir / "no" / "such" / "folder.ngc", "x"), Error);
}

}  // namespace
}  // namespace ostrivane
