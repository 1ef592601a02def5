#include "core/text/file_io.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "core/text/error.h"
#include "core/text/save_temporary.h"
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

TEST(AtomicSave, PiecesOfEverySizeArriveInOrder) {
    // Short pieces gather in a buffer, long ones go straight to the file: pieces that fill it
    // exactly, overrun it or are longer than it must all land in order.
    test::TempDir dir;
    const auto file = dir / "program.ngc";
    std::string expected;
    {
        AtomicFile saving(file);
        const std::size_t sizes[] = {1,       100,     65'535, 65'536,  65'537,    200'000, 262'143,
                                     262'144, 262'145, 3,      524'288, 1'000'000, 7};
        char letter = 'a';
        for (int round = 0; round < 2; ++round) {
            for (const std::size_t size : sizes) {
                const std::string piece(size, letter);
                letter = letter == 'z' ? 'a' : static_cast<char>(letter + 1);
                saving.write(piece);
                saving.write("");
                expected += piece;
            }
        }
        saving.commit();
    }
    EXPECT_EQ(read_bytes(file), expected);
}

TEST(AtomicSave, WritesAfterCommitOrDiscardAreDropped) {
    test::TempDir dir;
    const auto file = dir / "Settings.ini";
    AtomicFile saving(file);
    saving.write("kept");
    saving.commit();
    saving.write("late");
    saving.write(std::string(1'000'000, 'x'));
    EXPECT_EQ(read_bytes(file), "kept");
    EXPECT_FALSE(saving.is_open());
    AtomicFile dropped(file);
    dropped.discard();
    dropped.write("late");
    EXPECT_EQ(read_bytes(file), "kept");
    EXPECT_EQ(folder_listing(dir.path()), "Settings.ini");
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
#ifndef _WIN32
    // A new file gets what the user's file mode mask leaves of read and write for all.
    const mode_t mask = ::umask(022);
    ::umask(mask);
    write_file_atomically(dir / "new.gof", "new");
    EXPECT_EQ(perms_of(dir / "new.gof"), fs::perms(0666 & ~mask));
#endif
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
    // A full disk: the write fails part-way, with the system's reason.
    test::FileSizeLimit full(1000);
    if (!full.active())
        GTEST_SKIP() << "no file size limit on this system";
    EXPECT_EQ(error_of([&] { write_file_atomically(file, std::string(100'000, 'x')); }),
              "Cannot write file " + file.string() + ": File too large");
    // Streamed in many pieces, as a long program is: nothing more is kept after the failure.
    EXPECT_EQ(error_of([&] {
                  AtomicFile saving(file);
                  for (int k = 0; k < 10'000; ++k)
                      saving.write(std::string(1000, 'y'));
                  saving.commit();
              }),
              "Cannot write file " + file.string() + ": File too large");
    EXPECT_EQ(read_bytes(file), "precious");
    EXPECT_EQ(folder_listing(dir.path()), "Settings.ini");
}

TEST(AtomicSave, NamedTemporaryLiesBesideTheRealFileAndLeavesNothing) {
    test::TempDir dir;
    fs::create_directories(dir / "real");
    write_bytes(dir / "real" / "a.gof", "old");
    SaveTemporary temp;
    ASSERT_EQ(temp.open(dir / "real" / "a.gof", SaveTemporary::Kind::named), 0);
    // Beside the file it replaces, on the same disk, under a name of this save's own.
    EXPECT_EQ(temp.name().parent_path(), dir / "real");
    EXPECT_TRUE(temp.name().filename().string().starts_with("a.gof."));
    EXPECT_TRUE(temp.name().filename().string().ends_with(".saving"));
    ASSERT_EQ(temp.write("new", 3), 0);
    EXPECT_EQ(read_bytes(dir / "real" / "a.gof"), "old");
    ASSERT_EQ(temp.replace(dir / "real" / "a.gof"), 0);
    EXPECT_EQ(read_bytes(dir / "real" / "a.gof"), "new");
    EXPECT_EQ(folder_listing(dir / "real"), "a.gof");

    ASSERT_EQ(temp.open(dir / "real" / "a.gof", SaveTemporary::Kind::named), 0);
    temp.discard();
    EXPECT_EQ(folder_listing(dir / "real"), "a.gof");
}

TEST(AtomicSave, AbandonedTemporariesAreRemovedOthersLeftAlone) {
    test::TempDir dir;
    // The old single name, and a unique name whose process (beyond any process number) is gone.
    write_bytes(dir / "a.ngc.saving", "left by a crash");
    write_bytes(dir / "a.ngc.2147483647-0123abcd.saving", "left by a crash");
    // Not ours to remove: a running process's save, another file's, other names, a folder.
    const std::string live = "a.ngc." + std::to_string(::getppid()) + "-0123abcd.saving";
    write_bytes(dir / live, "in use");
    write_bytes(dir / "b.ngc.2147483647-0123abcd.saving", "another file's");
    write_bytes(dir / "a.ngc.2147483647-xyz.saving", "not our form");
    write_bytes(dir / "a.ngc.backup", "the user's");
    fs::create_directory(dir / "a.ngc.1-0.saving");
    write_file_atomically(dir / "a.ngc", "new");
    EXPECT_EQ(read_bytes(dir / "a.ngc"), "new");
    std::vector<std::string> kept = {
        "a.ngc", "a.ngc.1-0.saving", "a.ngc.2147483647-xyz.saving",
        live,    "a.ngc.backup",     "b.ngc.2147483647-0123abcd.saving"};
    std::sort(kept.begin(), kept.end());
    std::string listing;
    for (const std::string& name : kept)
        listing += (listing.empty() ? "" : " ") + name;
    EXPECT_EQ(folder_listing(dir.path()), listing);
}

TEST(AtomicSave, ConcurrentSavesOfOneFileEachLandWhole) {
    test::TempDir dir;
    const auto file = dir / "Settings.ini";
    const std::string contents[2] = {std::string(300'000, 'a'), std::string(200'000, 'b')};
    write_file_atomically(file, contents[0]);
    std::atomic<int> failures{0};
    std::atomic<bool> done{false};
    std::atomic<int> torn{0};
    std::thread reader([&] {
        while (!done) {
            const std::string seen = read_bytes(file);
            if (seen != contents[0] && seen != contents[1])
                ++torn;
        }
    });
    std::vector<std::thread> writers;
    for (const std::string& bytes : contents) {
        writers.emplace_back([&] {
            for (int k = 0; k < 150; ++k) {
                try {
                    // Streamed in pieces, so that the two saves overlap.
                    AtomicFile saving(file);
                    for (std::size_t at = 0; at < bytes.size(); at += 50'000)
                        saving.write(std::string_view(bytes).substr(at, 50'000));
                    saving.commit();
                } catch (const Error&) {
                    ++failures;
                }
            }
        });
    }
    for (std::thread& w : writers)
        w.join();
    done = true;
    reader.join();
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(torn, 0);
    EXPECT_EQ(folder_listing(dir.path()), "Settings.ini");
}

#ifndef _WIN32
// Starts a process that has begun a save of `file` and waits in it; kill -9 once its temporary
// file holds bytes.
void kill_during_save(const fs::path& file, SaveTemporary::Kind kind) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(ready[0]);
        SaveTemporary temp;
        const std::string bytes(1 << 20, 'x');
        if (temp.open(file, kind) != 0 || temp.write(bytes.data(), bytes.size()) != 0)
            ::_exit(1);
        (void)!::write(ready[1], "r", 1);
        for (;;)
            ::pause();
    }
    ::close(ready[1]);
    char c = 0;
    const bool began = ::read(ready[0], &c, 1) == 1;
    ::close(ready[0]);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ASSERT_TRUE(began) << "the child could not begin its save";
}

TEST(AtomicSave, SaveKilledPartWayLeavesNoTemporaryBehind) {
    test::TempDir dir;
    const auto file = dir / "big.ngc";
    write_bytes(file, "old");
    // Unnamed where the system can: the kill leaves nothing at all.
    kill_during_save(file, SaveTemporary::Kind::best);
#ifdef __linux__
    EXPECT_EQ(folder_listing(dir.path()), "big.ngc");
#endif
    // Named: the next save removes what the killed one left.
    kill_during_save(file, SaveTemporary::Kind::named);
    EXPECT_EQ(read_bytes(file), "old");
    EXPECT_NE(folder_listing(dir.path()), "big.ngc");
    write_file_atomically(file, "new");
    EXPECT_EQ(read_bytes(file), "new");
    EXPECT_EQ(folder_listing(dir.path()), "big.ngc");
}

TEST(AtomicSave, RunningSaveOfAnotherProcessIsLeftAlone) {
    test::TempDir dir;
    const auto file = dir / "Settings.ini";
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(ready[0]);
        SaveTemporary temp;
        if (temp.open(file, SaveTemporary::Kind::named) != 0)
            ::_exit(1);
        (void)!::write(ready[1], "r", 1);
        for (;;)
            ::pause();
    }
    ::close(ready[1]);
    char c = 0;
    const bool began = ::read(ready[0], &c, 1) == 1;
    ::close(ready[0]);
    if (began)
        write_file_atomically(file, "mine");
    const std::string listing = folder_listing(dir.path());
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ASSERT_TRUE(began) << "the child could not begin its save";
    EXPECT_TRUE(listing.starts_with("Settings.ini Settings.ini." + std::to_string(child) + "-"))
        << listing;
    write_file_atomically(file, "mine again");
    EXPECT_EQ(folder_listing(dir.path()), "Settings.ini");
}
#endif

TEST(AtomicSave, LinkToAFullDeviceIsRefusedAtOnce) {
    test::TempDir dir;
    std::error_code ec;
    if (!fs::exists("/dev/full", ec))
        GTEST_SKIP() << "no /dev/full on this system";
    fs::create_symlink("/dev/full", dir / "profile.spl");
    EXPECT_EQ(error_of([&] { write_file_atomically(dir / "profile.spl", "x"); }),
              "Cannot write file " + (dir / "profile.spl").string() +
                  ": it is a device, not a regular file.");
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
    test::for_each_hostile_file(
        dir / "hostile", 10, "a test file", [&](std::string_view kind, const std::string& message) {
            SCOPED_TRACE(kind);
            EXPECT_EQ(error_of([&] { read_file_limited(dir / "hostile", 10, "a test file"); }),
                      message);
        });
#ifdef __linux__
    // A file whose size is not known beforehand is read no further than the limit.
    EXPECT_EQ(error_of([] { read_file_limited("/proc/self/maps", 10, "a test file"); }),
              "Cannot read file /proc/self/maps: it is longer than 10 bytes, the most a test "
              "file may hold.");
#endif
}

TEST(PlainRead, MissingFileFolderOrHostileFileReadsAsNothing) {
    test::TempDir dir;
    EXPECT_EQ(read_file(dir / "none"), std::nullopt);
    EXPECT_EQ(read_file(dir.path()), std::nullopt) << "a folder fails quietly, without throwing";
    test::for_each_hostile_file(dir / "hostile", own_file_limit, "",
                                [&](std::string_view kind, const std::string&) {
                                    EXPECT_EQ(read_file(dir / "hostile"), std::nullopt) << kind;
                                });
    write_bytes(dir / "a", "abc");
    EXPECT_EQ(read_file(dir / "a"), "abc");
}

TEST(OptionalRead, NothingThereIsNoFileAnythingElseIsRead) {
    test::TempDir dir;
    EXPECT_EQ(read_file_if_exists(dir / "none", 10, "a test file"), std::nullopt);
    fs::create_symlink("none", dir / "dangling");
    EXPECT_EQ(read_file_if_exists(dir / "dangling", 10, "a test file"), std::nullopt);
    write_bytes(dir / "a", "abc");
    EXPECT_EQ(read_file_if_exists(dir / "a", 10, "a test file"), "abc");
    test::for_each_hostile_file(
        dir / "hostile", 10, "a test file", [&](std::string_view kind, const std::string& message) {
            SCOPED_TRACE(kind);
            EXPECT_EQ(error_of([&] { read_file_if_exists(dir / "hostile", 10, "a test file"); }),
                      message);
        });
}

}  // namespace
}  // namespace ostrivane
