#include "core/app/dialog_folders.h"

#include <system_error>

namespace ostrivane {
namespace fs = std::filesystem;
namespace {

bool is_folder(const fs::path& folder) {
    std::error_code ignored;
    return !folder.empty() && fs::is_directory(folder, ignored);
}

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

}  // namespace ostrivane
