#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ostrivane {

// The per-user data folder, with the program's own folder name appended:
// $XDG_DATA_HOME/Ostrivane (normally ~/.local/share/Ostrivane), %APPDATA%\Ostrivane on Windows.
// Throws Error when the home folder is needed and not known: a folder resolved against the
// working directory would scatter the user's settings wherever the program was started.
std::filesystem::path data_folder();

// The user's Documents folder as the command-line tool finds it: $XDG_DOCUMENTS_DIR; else the
// desktop's own entry in $XDG_CONFIG_HOME/user-dirs.dirs (normally ~/.config/user-dirs.dirs),
// so a German desktop's ~/Dokumente is found; else ~/Documents (%USERPROFILE%\Documents on
// Windows). The window asks its toolkit instead. Relative values in these variables are
// ignored. The folder may not exist yet. Throws Error when the home folder is needed and not
// known.
std::filesystem::path documents_folder();

// The Documents entry of a user-dirs.dirs text: the last line XDG_DOCUMENTS_DIR="$HOME/Path" or
// "/Path" (quoted, with backslash escapes, or a bare word), "$HOME" standing for `home`.
// Comments and other entries are skipped; so is a value that is neither of the two forms.
// nullopt when there is no usable entry, or when it needs a `home` that is empty.
std::optional<std::filesystem::path> user_dirs_documents(std::string_view text,
                                                         const std::filesystem::path& home);

// Makes sure the Documents folder, where files go when the settings name no other folder, is
// there: on a fresh account it may not be yet. Creates that one folder (its parent must exist).
// Throws Error when no Documents folder is known or it cannot be created.
void make_documents_folder(const std::filesystem::path& folder);

// The folder as text with a final directory separator, as the program joins file names to it.
std::string with_separator(const std::filesystem::path& folder);

}  // namespace ostrivane
