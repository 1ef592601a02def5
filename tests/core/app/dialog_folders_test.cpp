#include "core/app/dialog_folders.h"

#include <gtest/gtest.h>

#include <fstream>

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

TEST(DialogFolders, ExportDialogStartsWhereTheLastExportWent) {
    const test::TempDir dir;
    const fs::path data = dir / "data";
    fs::create_directories(data);
    fs::create_directories(dir / "drawings");
    const fs::path docs = dir / "Documents";
    EXPECT_EQ(export_dialog_folder(data, docs), docs) << "nothing remembered yet";
    remember_export_folder(data, dir / "drawings" / "vase.svg");
    EXPECT_EQ(export_dialog_folder(data, docs), dir / "drawings");
    EXPECT_TRUE(fs::exists(data / std::string(export_folder_file)));
    fs::remove(dir / "drawings");
    EXPECT_EQ(export_dialog_folder(data, docs), docs) << "a folder that is gone";
    std::ofstream(data / std::string(export_folder_file)) << "[export]\nfolder=relative\n";
    EXPECT_EQ(export_dialog_folder(data, docs), docs) << "a note that names no folder";
}

}  // namespace
}  // namespace ostrivane
