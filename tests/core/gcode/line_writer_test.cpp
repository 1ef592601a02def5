#include "core/gcode/line_writer.h"

#include <gtest/gtest.h>

#include <optional>

#include "core/text/error.h"
#include "support/file_fixtures.h"
#include "support/temp_dir.h"

namespace ostrivane {
namespace {
namespace fs = std::filesystem;
using test::folder_listing;
using test::read_bytes;
using test::write_bytes;

// The bytes in a save's temporary file in `folder` so far, found among this process's open
// files, as the file may have no name; nullopt where the system does not show open files.
std::optional<std::uintmax_t> temporary_bytes(const fs::path& folder, const fs::path& target) {
    std::error_code ec;
    for (const auto& fd : fs::directory_iterator("/proc/self/fd", ec)) {
        const fs::path file = fs::read_symlink(fd.path(), ec);
        if (!ec && file.parent_path() == folder && file != target) {
            const std::uintmax_t size = fs::file_size(fd.path(), ec);
            if (!ec)
                return size;
        }
    }
    return std::nullopt;
}

class LineWriterEnd : public ::testing::Test {
  protected:
    LineWriterEnd() { write_bytes(target, "old program"); }

    // Writes two lines and ends the writer the way `end` says.
    void write_and(LineWriter::Mode mode, void (*end)(LineWriter&)) {
        LineWriter w(target, mode);
        w.write_line("G21");
        w.write_line("G01 X1");
        EXPECT_EQ(read_bytes(target), "old program") << "the target waits for the end";
        end(w);
    }

    test::TempDir dir;
    fs::path target = dir / "Karvik.ngc";
};

TEST_F(LineWriterEnd, CommitReplacesTheTarget) {
    for (const auto mode : {LineWriter::Mode::in_place, LineWriter::Mode::staged}) {
        write_and(mode, [](LineWriter& w) { w.commit(); });
        EXPECT_EQ(read_bytes(target), "G21\r\nG01 X1\r\n");
        EXPECT_EQ(folder_listing(dir.path()), "Karvik.ngc");
        write_bytes(target, "old program");
    }
}

TEST_F(LineWriterEnd, AbandonedInPlaceKeepsWhatWasWritten) {
    write_and(LineWriter::Mode::in_place, [](LineWriter& w) { w.abandon(); });
    EXPECT_EQ(read_bytes(target), "G21\r\nG01 X1\r\n");
    EXPECT_EQ(folder_listing(dir.path()), "Karvik.ngc");
}

TEST_F(LineWriterEnd, AbandonedStagedLeavesTheOldFile) {
    write_and(LineWriter::Mode::staged, [](LineWriter& w) { w.abandon(); });
    write_and(LineWriter::Mode::staged, [](LineWriter&) {});  // dropped unfinished
    EXPECT_EQ(read_bytes(target), "old program");
    EXPECT_EQ(folder_listing(dir.path()), "Karvik.ngc");
}

TEST_F(LineWriterEnd, DiscardedInEitherModeLeavesTheOldFile) {
    for (const auto mode : {LineWriter::Mode::in_place, LineWriter::Mode::staged}) {
        write_and(mode, [](LineWriter& w) {
            w.discard();
            w.abandon();  // after a discard there is nothing left to keep
        });
        EXPECT_EQ(read_bytes(target), "old program");
        EXPECT_EQ(folder_listing(dir.path()), "Karvik.ngc");
    }
}

TEST_F(LineWriterEnd, LinesStreamToDiskNotToMemory) {
    LineWriter w(target, LineWriter::Mode::staged);
    const std::string line(100, 'G');
    for (int i = 0; i < 20'000; ++i)
        w.write_line(line);
    // All but the stream's small buffer is on the disk already, in the temporary file.
    const std::optional<std::uintmax_t> saved = temporary_bytes(dir.path(), target);
    if (saved)
        EXPECT_GT(*saved, 20'000u * 102u - 262'144u);
    w.commit();
    EXPECT_EQ(fs::file_size(target), 20'000u * 102u);
}

TEST_F(LineWriterEnd, ErrorsNameTheTargetAndKeepItsKind) {
    fs::permissions(target, fs::perms(0600));
    write_and(LineWriter::Mode::in_place, [](LineWriter& w) { w.commit(); });
    EXPECT_EQ(test::perms_of(target), fs::perms(0600));

    fs::create_directories(dir / "out");
    try {
        LineWriter w(dir / "out", LineWriter::Mode::in_place);
        FAIL() << "a folder was taken for a file";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot write file " + (dir / "out").string() + ": it is a folder, not a file.");
    }
    EXPECT_TRUE(fs::is_directory(dir / "out"));
}

}  // namespace
}  // namespace ostrivane
