#include "core/text/file_io.h"

#include <gtest/gtest.h>

#include "core/text/error.h"
#include "support/error_of.h"
#include "support/file_fixtures.h"
#include "support/temp_dir.h"

namespace ostrivane {
namespace {
namespace fs = std::filesystem;
using test::error_of;
using test::folder_listing;
using test::perms_of;
using test::read_bytes;
using test::write_bytes;

TEST(AtomicSave, ReplacesWholeAndLeavesNoTemporary) {
    test::TempDir dir;
    const auto file = dir / "Settings.ini";
    write_file_atomically(file, "old contents");
    write_file_atomically(file, std::string("new\0bytes", 9));
    EXPECT_EQ(read_bytes(file), std::string("new\0bytes", 9));
    EXPECT_EQ(folder_listing(dir.path()), "Settings.ini");
}

TEST(AtomicSave, TargetIsUntouchedUntilCommitAndAfterDiscard) {
    test::TempDir dir;
    const auto file = dir / "program.gof";
    write_bytes(file, "precious");
    {
        AtomicFile saving(file);
        saving.write("half");
        EXPECT_EQ(read_bytes(file), "precious");
        saving.discard();
    }
    {
        AtomicFile dropped(file);
        dropped.write("half");
    }
    EXPECT_EQ(read_bytes(file), "precious");
    EXPECT_EQ(folder_listing(dir.path()), "program.gof");
}

TEST(AtomicSave, WritesThroughLinksBesideTheRealFile) {
    test::TempDir dir;
    fs::create_directories(dir / "dotfiles");
    fs::create_directories(dir / "data");
    write_bytes(dir / "dotfiles" / "Settings.ini", "old");
    fs::create_symlink("../dotfiles/Settings.ini", dir / "data" / "Settings.ini");
    {
        AtomicFile saving(dir / "data" / "Settings.ini");
        saving.write("new");
        // The temporary file lies beside the file that is replaced, on the same disk.
        EXPECT_EQ(folder_listing(dir / "dotfiles"), "Settings.ini Settings.ini.saving");
        EXPECT_EQ(folder_listing(dir / "data"), "Settings.ini");
        saving.commit();
    }
    EXPECT_TRUE(fs::is_symlink(dir / "data" / "Settings.ini"));
    EXPECT_EQ(read_bytes(dir / "dotfiles" / "Settings.ini"), "new");
    EXPECT_EQ(folder_listing(dir / "dotfiles"), "Settings.ini");

    // A link to a file not made yet: the file is made, the link stays.
    fs::create_symlink("later.gof", dir / "data" / "link.gof");
    write_file_atomically(dir / "data" / "link.gof", "made");
    EXPECT_TRUE(fs::is_symlink(dir / "data" / "link.gof"));
    EXPECT_EQ(read_bytes(dir / "data" / "later.gof"), "made");
}

TEST(AtomicSave, KeepsPermissionBits) {
    test::TempDir dir;
    const auto file = dir / "Settings.ini";
    for (const fs::perms p : {fs::perms(0600), fs::perms(0640), fs::perms(0664)}) {
        write_bytes(file, "old");
        fs::permissions(file, p);
        write_file_atomically(file, "new");
        EXPECT_EQ(perms_of(file), p);
        EXPECT_EQ(read_bytes(file), "new");
    }
}

TEST(AtomicSave, RefusesWhatIsNotAWritableFile) {
    test::TempDir dir;
    fs::create_directories(dir / "outdir");
    const bool fifo = test::make_fifo(dir / "pipe");
    const bool device = test::make_null_device(dir / "null");
    write_bytes(dir / "locked.gof", "locked");
    fs::permissions(dir / "locked.gof", fs::perms(0444));
    const struct {
        fs::path target;
        std::string message;
    } cases[] = {
        {dir / "outdir",
         "Cannot write file " + (dir / "outdir").string() + ": it is a folder, not a file."},
        {dir.path().string() + "/outdir/",
         "Cannot write file " + dir.path().string() + "/outdir/: it is a folder, not a file."},
        {dir / "locked.gof", "Cannot write file " + (dir / "locked.gof").string() +
                                 ": Permission denied (the file is read-only)"},
        {dir / "no folder" / "x.gof", "Cannot create file " +
                                          (dir / "no folder" / "x.gof").string() +
                                          ": No such file or directory"},
        {dir / "locked.gof" / "x.gof",
         "Cannot create file " + (dir / "locked.gof" / "x.gof").string() + ": Not a directory"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(error_of([&] { write_file_atomically(c.target, "x"); }), c.message);
    if (fifo) {
        EXPECT_EQ(error_of([&] { write_file_atomically(dir / "pipe", "x"); }),
                  "Cannot write file " + (dir / "pipe").string() +
                      ": it is a pipe (fifo), not a regular file.");
        EXPECT_TRUE(fs::is_fifo(dir / "pipe"));
    }
    if (device) {
        EXPECT_EQ(error_of([&] { write_file_atomically(dir / "null", "x"); }),
                  "Cannot write file " + (dir / "null").string() +
                      ": it is a device, not a regular file.");
        EXPECT_TRUE(fs::is_character_file(dir / "null"));
    }
    EXPECT_EQ(read_bytes(dir / "locked.gof"), "locked");
    EXPECT_EQ(perms_of(dir / "locked.gof"), fs::perms(0444));
    std::string listing = "locked.gof";
    listing += device ? " null" : "";
    listing += " outdir";
    listing += fifo ? " pipe" : "";
    EXPECT_EQ(folder_listing(dir.path()), listing);
}

TEST(AtomicSave, FailedSaveKeepsTheOldFileAndNamesTheUsersFile) {
    test::TempDir dir;
    const auto file = dir / "Settings.ini";
    write_bytes(file, "precious");
    // A folder in the temporary file's place makes the save fail before anything is written.
    fs::create_directory(dir / "Settings.ini.saving");
    EXPECT_EQ(error_of([&] { write_file_atomically(file, "lost?"); }),
              "Cannot write file " + file.string() + ": its temporary file " + file.string() +
                  ".saving is in the way (it is a folder, not a file).");
    EXPECT_EQ(read_bytes(file), "precious");
    fs::remove(dir / "Settings.ini.saving");

    // A full disk: the write fails part-way, with the system's reason.
    test::FileSizeLimit full(1000);
    if (!full.active())
        GTEST_SKIP() << "no file size limit on this system";
    EXPECT_EQ(error_of([&] { write_file_atomically(file, std::string(100'000, 'x')); }),
              "Cannot write file " + file.string() + ": File too large");
    EXPECT_EQ(read_bytes(file), "precious");
    EXPECT_EQ(folder_listing(dir.path()), "Settings.ini");
}

TEST(AtomicSave, StaleTemporaryFileIsReplaced) {
    test::TempDir dir;
    write_bytes(dir / "a.ngc.saving", "left by a crash");
    write_file_atomically(dir / "a.ngc", "new");
    EXPECT_EQ(read_bytes(dir / "a.ngc"), "new");
    EXPECT_EQ(folder_listing(dir.path()), "a.ngc");
}

TEST(LimitedRead, ReadsSmallFilesAndRefusesTheRest) {
    test::TempDir dir;
    write_bytes(dir / "ten", "0123456789");
    write_bytes(dir / "eleven", "0123456789A");
    fs::create_directories(dir / "folder");
    const bool fifo = test::make_fifo(dir / "pipe");
    EXPECT_EQ(read_file_limited(dir / "ten", 10, "a test file"), "0123456789");
    const struct {
        fs::path file;
        std::string message;
    } cases[] = {
        {dir / "eleven", "Cannot read file " + (dir / "eleven").string() +
                             ": it is longer than 10 bytes, the most a test file may hold."},
        {dir / "none",
         "Cannot open file " + (dir / "none").string() + ": No such file or directory"},
        {dir / "folder",
         "Cannot read file " + (dir / "folder").string() + ": it is a folder, not a file."},
        {"/dev/zero", "Cannot read file /dev/zero: it is a device, not a regular file."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(error_of([&] { read_file_limited(c.file, 10, "a test file"); }), c.message);
    if (fifo) {
        // Refused without being opened: opening a pipe would wait for a writer.
        EXPECT_EQ(error_of([&] { read_file_limited(dir / "pipe", 10, "a test file"); }),
                  "Cannot read file " + (dir / "pipe").string() +
                      ": it is a pipe (fifo), not a regular file.");
    }
#ifdef __linux__
    // A file whose size is not known beforehand is read no further than the limit.
    EXPECT_EQ(error_of([] { read_file_limited("/proc/self/maps", 10, "a test file"); }),
              "Cannot read file /proc/self/maps: it is longer than 10 bytes, the most a test "
              "file may hold.");
#endif
}

TEST(PlainRead, MissingFileOrFolderReadsAsNothing) {
    test::TempDir dir;
    EXPECT_EQ(read_file(dir / "none"), std::nullopt);
    EXPECT_EQ(read_file(dir.path()), std::nullopt) << "a folder fails quietly, without throwing";
    write_bytes(dir / "a", "abc");
    EXPECT_EQ(read_file(dir / "a"), "abc");
}

}  // namespace
}  // namespace ostrivane
