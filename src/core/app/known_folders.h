#pragma once
#include <filesystem>

namespace ostrivane {

// The per-user data folder, with the program's own folder name appended:
// $XDG_DATA_HOME/Ostrivane (normally ~/.local/share/Ostrivane), %APPDATA%\Ostrivane on Windows.
std::filesystem::path data_folder();

// The user's Documents folder: $XDG_DOCUMENTS_DIR, else ~/Documents (%USERPROFILE%\Documents).
std::filesystem::path documents_folder();

// The folder as text with a final directory separator, as the program joins file names to it.
std::string with_separator(const std::filesystem::path& folder);

}  // namespace ostrivane
