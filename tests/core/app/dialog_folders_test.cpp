#include "core/app/dialog_folders.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace ostrivane {
namespace {
namespace fs = std::filesystem;

TEST(DialogFolders, GcodeDialogStartsInTheSettingOnlyWhenItIsAFolder) {
    const test::TempDir dir;
    fs::create_directory(dir / "jobs");
    const fs::path docs = dir / "Documents";
    EXPECT_EQ(gcode_dialog_folder((dir / "jobs/").string(), docs), dir / "jobs/");
    EXPECT_EQ(gcode_dialog_folder("", docs), docs);
    EXPECT_EQ(gcode_dialog_folder((dir / "gone/").string(), docs), docs);
    EXPECT_EQ(gcode_dialog_folder("relative-name-that-is-no-folder", docs), docs);
}

TEST(DialogFolders, ToothDialogStartsWhereTheLastToothFileWas) {
    const test::TempDir dir;
    fs::create_directory(dir / "teeth");
    const fs::path docs = dir / "Documents";
    EXPECT_EQ(tooth_dialog_folder((dir / "teeth/box.tnd").string(), docs), dir / "teeth");
    EXPECT_EQ(tooth_dialog_folder(std::nullopt, docs), docs);
    EXPECT_EQ(tooth_dialog_folder((dir / "gone/box.tnd").string(), docs), docs);
}

}  // namespace
}  // namespace ostrivane
