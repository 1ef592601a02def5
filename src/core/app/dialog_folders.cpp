#include "core/app/dialog_folders.h"

#include <system_error>

#include "core/app/state_file.h"
#include "core/text/file_io.h"

namespace ostrivane {
namespace fs = std::filesystem;
namespace {

bool is_folder(const fs::path& folder) {
    std::error_code ignored;
    return !folder.empty() && fs::is_directory(folder, ignored);
}

constexpr std::string_view kExportSection = "export";
constexpr std::string_view kFolderKey = "folder";
// The note holds one line of a path; anything longer is not this note.
constexpr std::uint64_t kLargestNote = 64 * 1024;

}  // namespace

fs::path gcode_dialog_folder(std::string_view gcode_folder_setting, const fs::path& documents) {
    const fs::path setting = fs::u8path(gcode_folder_setting);
    return is_folder(setting) ? setting : documents;
}

fs::path tooth_dialog_folder(const std::optional<std::string>& chosen_before,
                             const fs::path& documents) {
    if (chosen_before) {
        const fs::path folder = fs::u8path(*chosen_before).parent_path();
        if (is_folder(folder))
            return folder;
    }
    return documents;
}

fs::path export_dialog_folder(const fs::path& data_folder, const fs::path& documents) {
    try {
        const auto note = read_file_if_exists(data_folder / std::string(export_folder_file),
                                              kLargestNote, "a note of the export folder");
        if (note) {
            if (const auto folder = read_ini_key(*note, kExportSection, kFolderKey)) {
                const fs::path last = fs::u8path(*folder);
                if (last.is_absolute() && is_folder(last))
                    return last;
            }
        }
    } catch (const std::exception&) {
        // A note that cannot be read is as good as none.
    }
    return documents;
}

void remember_export_folder(const fs::path& data_folder, const fs::path& exported) {
    const std::u8string folder = fs::absolute(exported).parent_path().u8string();
    write_file_atomically(
        data_folder / std::string(export_folder_file),
        write_ini_key(
            "", kExportSection, kFolderKey,
            std::string_view(reinterpret_cast<const char*>(folder.data()), folder.size())));
}

}  // namespace ostrivane
