#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ostrivane {

// Where the window's file dialogs start, so the operator lands where the files are.

// G-code programs (and the G-code folder's "Browse…"): the G-code folder setting when it names
// an existing folder, else the Documents folder, where programs then go.
std::filesystem::path gcode_dialog_folder(std::string_view gcode_folder_setting,
                                          const std::filesystem::path& documents);

// Tooth files: the folder of the file chosen before while it still exists, else the Documents
// folder, where "Write .tnd file" puts them.
std::filesystem::path tooth_dialog_folder(const std::optional<std::string>& chosen_before,
                                          const std::filesystem::path& documents);

// The small file in the data folder that remembers where the last export went. It is no
// window-state file, so planner.ini and saved programs stay as they are.
inline constexpr std::string_view export_folder_file = "export_folder.ini";

// Exports: the folder the last export went to while it still exists, else the Documents folder.
std::filesystem::path export_dialog_folder(const std::filesystem::path& data_folder,
                                           const std::filesystem::path& documents);

// Remembers the folder of the file just exported, for the next export. Throws Error when the
// note cannot be written.
void remember_export_folder(const std::filesystem::path& data_folder,
                            const std::filesystem::path& exported);

}  // namespace ostrivane
