#include "core/app/state_file.h"

#include <gtest/gtest.h>

#include "core/app/field_values.h"
#include "core/app/form_state.h"
#include "support/file_fixtures.h"
#include "support/temp_dir.h"

namespace ostrivane {
namespace {

TEST(ToothFileKey, KeptAfterTheStateRecord) {
    const std::string record = encode_state_file(R"({"a":{"data":"[tndfile]"}})");
    EXPECT_EQ(settings_file_bytes(record, std::nullopt), record);
    const std::string file = settings_file_bytes(record, std::string(R"(C:\jobs\slots.tnd)"));
    EXPECT_EQ(file, record + "[tndfile]\r\nname=C:\\jobs\\slots.tnd\r\n");
    EXPECT_EQ(read_ini_key(file, "tndfile", "name"), R"(C:\jobs\slots.tnd)");
    EXPECT_EQ(decode_state_file(file).json_text, R"({"a":{"data":"[tndfile]"}})");
}

// The machine configuration rides beside the tooth file; the record stays as it was, so a
// program file or an older Settings.ini reads the same either way.
TEST(MachineKey, KeptAfterTheStateRecordBesideTheToothFile) {
    const std::string json = R"({"a":{"data":"x"}})";
    const std::string record = encode_state_file(json);
    const std::string file =
        settings_file_bytes(record, std::string("/j/a.tnd"), std::string("/m/mill.ini"));
    EXPECT_EQ(file, record + "[tndfile]\r\nname=/j/a.tnd\r\n[machine]\r\nini=/m/mill.ini\r\n");
    EXPECT_EQ(read_ini_key(file, machine_section, machine_key), "/m/mill.ini");
    EXPECT_EQ(read_ini_key(file, tnd_section, tnd_key), "/j/a.tnd");
    EXPECT_EQ(decode_state_file(file).json_text, json);
    EXPECT_EQ(read_ini_key(settings_file_bytes(record, std::nullopt), machine_section, machine_key),
              std::nullopt);
}

TEST(ToothFileKey, ReplacedWhereItStands) {
    const std::string record = encode_state_file("{}");
    std::string file = write_ini_key(record, "tndfile", "name", "/a.tnd");
    file = write_ini_key(file + "[other]\r\nk=v\r\n", "tndfile", "name", "/b.tnd");
    EXPECT_EQ(file, record + "[tndfile]\r\nname=/b.tnd\r\n[other]\r\nk=v\r\n");
    EXPECT_EQ(read_ini_key(file, "TNDFILE", "Name"), "/b.tnd");
    EXPECT_EQ(read_ini_key(file, "other", "name"), std::nullopt);
}

TEST(ToothFileKey, EmptyAndPlainFiles) {
    EXPECT_EQ(read_ini_key("", "tndfile", "name"), std::nullopt);
    EXPECT_EQ(write_ini_key("", "tndfile", "name", ""), "[tndfile]\r\nname=\r\n");
    EXPECT_EQ(read_ini_key("[tndfile]\nname = x.tnd\n", "tndfile", "name"), "x.tnd");
    // A damaged record announcing more bytes than it has: once the section is added its length
    // fits, but it is still no record, and the key is found again.
    const std::string damaged = std::string(1, '\x30') + "{\"a\":1}";
    const std::string tnd = "/home/anna/joints/a-long-name.tnd";
    EXPECT_EQ(read_ini_key(write_ini_key(damaged, "tndfile", "name", tnd), "tndfile", "name"), tnd);
}

namespace fs = std::filesystem;
using test::folder_listing;
using test::read_bytes;
using test::write_bytes;

constexpr std::array kWindow = {
    ComponentSpec{"width", ComponentKind::Field, "Width", "1"},
    ComponentSpec{"depth", ComponentKind::Field, "Depth", "2"},
};

struct SettingsFile : ::testing::Test {
    StateRestore restore() { return restore_state_file(file, kWindow, form); }

    test::TempDir dir;
    fs::path file = dir / "Settings.ini";
    fs::path copy = dir / "Settings.ini.unreadable";
    FieldValues form{kWindow};
};

TEST_F(SettingsFile, MissingOrEmptyFileIsNoFailure) {
    EXPECT_FALSE(restore().found);
    write_bytes(file, "");
    const StateRestore empty = restore();
    EXPECT_TRUE(empty.found);
    EXPECT_EQ(empty.failure, std::nullopt);
    EXPECT_EQ(empty.notice(file), "");
    EXPECT_EQ(folder_listing(dir.path()), "Settings.ini");
}

TEST_F(SettingsFile, SectionsAloneHoldNoStateAndAreNoFailure) {
    // What a tooth-file choice once left in a data folder that had no settings yet.
    write_bytes(file, "[tndfile]\r\nname=/joints/zwaluw.tnd\r\n");
    const StateRestore r = restore();
    EXPECT_TRUE(r.found);
    EXPECT_EQ(r.failure, std::nullopt);
    EXPECT_EQ(r.notice(file), "");
    EXPECT_EQ(form.text("width"), "1");
    EXPECT_EQ(read_ini_key(*r.bytes, tnd_section, tnd_key), "/joints/zwaluw.tnd");
    EXPECT_FALSE(starts_with_state_record(*r.bytes));
    EXPECT_EQ(folder_listing(dir.path()), "Settings.ini");
    // Text that only starts like a section is still a damaged file.
    for (const char* text : {"[tndfile]\r\nname=a\r\nplain words\r\n", "name=a\r\n[x]\r\n"}) {
        write_bytes(file, text);
        EXPECT_TRUE(restore().failure.has_value()) << text;
    }
    EXPECT_TRUE(starts_with_state_record(save_form_state(kWindow, form)));
}

TEST_F(SettingsFile, DamagedFileIsCopiedBesideItselfAndTheFirstMembersRestored) {
    const std::string good = save_form_state(kWindow, FieldValues(kWindow));
    std::string damaged =
        encode_state_file(R"({"widthEd":{"data":"9"},"widthLabel1":{"data":"W"}})");
    write_bytes(copy, "an older copy");
    write_bytes(file, damaged);
    const StateRestore r = restore();
    EXPECT_EQ(r.failure, "No entry for component depthEd");
    EXPECT_EQ(form.text("width"), "9") << "the members before the first missing one count";
    EXPECT_EQ(form.text("depth"), "2");
    EXPECT_EQ(r.kept_copy, copy);
    EXPECT_TRUE(r.may_overwrite);
    EXPECT_EQ(read_bytes(copy), damaged);
    EXPECT_EQ(read_bytes(file), damaged) << "the file itself is left for the next save";
    EXPECT_EQ(r.notice(file), file.string() +
                                  " could not be restored: No entry for component depthEd. A "
                                  "copy of it is kept as " +
                                  copy.string() + ".");

    // One bad byte in a good file.
    damaged = good;
    damaged[5] = '\xFF';
    write_bytes(file, damaged);
    EXPECT_TRUE(restore().failure.has_value());
    EXPECT_EQ(read_bytes(copy), damaged);
}

TEST_F(SettingsFile, TooLongOrNotAFile) {
    write_bytes(file, std::string(max_state_file_size + 1, ' '));
    StateRestore r = restore();
    EXPECT_EQ(r.failure, "Cannot read file " + file.string() + ": it is longer than 1048576 " +
                             "bytes, the most a window-state file may hold.");
    EXPECT_EQ(fs::file_size(copy), max_state_file_size + 1);
    fs::remove(file);
    fs::remove(copy);

    // Nothing can be saved over a folder, so nothing needs keeping.
    fs::create_directory(file);
    r = restore();
    EXPECT_EQ(r.failure, "Cannot read file " + file.string() + ": it is a folder, not a file.");
    EXPECT_EQ(r.kept_copy, std::nullopt);
    EXPECT_TRUE(r.may_overwrite);
    fs::remove(file);

    // A pipe or device is refused unopened, and is nothing to keep a copy of; a huge sparse file
    // is too long to copy, so it is not saved over.
    test::for_each_hostile_file(file, max_state_file_size, "a window-state file",
                                [&](std::string_view kind, const std::string& message) {
                                    SCOPED_TRACE(kind);
                                    r = restore();
                                    EXPECT_EQ(r.failure, message);
                                    EXPECT_EQ(r.kept_copy, std::nullopt);
                                    EXPECT_EQ(r.may_overwrite, !fs::is_regular_file(file));
                                });
    EXPECT_FALSE(fs::exists(copy));

    // A loop of links: found, unreadable, no crash.
    fs::create_symlink("Settings.ini", file);
    r = restore();
    EXPECT_TRUE(r.found);
    EXPECT_EQ(r.failure,
              "Cannot open file " + file.string() + ": Too many levels of symbolic links");
}

TEST_F(SettingsFile, NoCopyNoOverwrite) {
    write_bytes(file, "\x01!");
    fs::create_directory(copy);  // in the way of the copy
    const StateRestore r = restore();
    EXPECT_FALSE(r.may_overwrite);
    EXPECT_EQ(r.kept_copy, std::nullopt);
    EXPECT_NE(
        r.notice(file).find("No copy of it could be made (Cannot write file " + copy.string() +
                            ": it is a folder, not a file.), so it will "
                            "not be saved over when the program closes."),
        std::string::npos)
        << r.notice(file);
}

}  // namespace
}  // namespace ostrivane
