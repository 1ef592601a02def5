#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/app/component.h"
#include "core/app/form_state.h"

namespace ostrivane {

// The most bytes a window-state file may have: 1 MiB. The main window's record is about 5 KB and
// the other windows' are smaller; texts typed into fields can make one longer, but not two
// hundred times longer. A bigger file is something else (a wrong file chosen, /dev/zero) and is
// refused before it is read, so that it cannot fill the memory or hold the program.
inline constexpr std::uint64_t max_state_file_size = std::uint64_t{1} << 20;

// Reads a state file (Settings.ini, a program file ...) within that limit. Throws Error naming
// the file and the cause: missing, unreadable, not a regular file, or too long.
std::string read_state_file(const std::filesystem::path& file);

// What became of restoring a window from its state file.
struct StateRestore {
    bool found = false;                              // the file (or something by its name) exists
    std::optional<std::string> bytes;                // its content, when it could be read
    std::optional<std::string> failure;              // why it could not be restored
    std::optional<std::filesystem::path> kept_copy;  // where the unrestorable file was copied
    std::optional<std::string> copy_failure;         // why no copy could be made
    // False when the file could not be restored and could not be copied either: saving over it
    // unasked would lose the only copy of the user's settings.
    bool may_overwrite = true;

    // The critical log line about a failed restore, naming the file and its copy; empty when
    // the restore succeeded.
    std::string notice(const std::filesystem::path& file) const;
};

// The name of the copy kept of a state file that could not be restored: FILE.unreadable.
std::filesystem::path unreadable_copy_name(const std::filesystem::path& file);

// Restores a window from its state file when the file exists, by the rules of
// restore_form_state (the members before a failure are applied). A file of INI sections alone
// holds no state and restores nothing, successfully. A file that exists, is not empty and cannot
// be restored is then copied beside itself (unreadable_copy_name, replacing an older copy)
// before anything can be written over it. Never throws.
StateRestore restore_state_file(const std::filesystem::path& file,
                                std::span<const ComponentSpec> components, FormAccess& form);

// Settings.ini holds the main window's state record and, after it, an INI section
// "[tndfile]" whose key "name" is the tooth file chosen for turning jobs.

// Whether the file starts with a state record that reads as a JSON object.
bool starts_with_state_record(std::string_view file_bytes);

// The value of key `name` of section `section` in the INI lines that follow the state record
// (or in the whole text, when it does not start with a readable record); nullopt when absent.
std::optional<std::string> read_ini_key(std::string_view file_bytes, std::string_view section,
                                        std::string_view key);

// The file's bytes with `name` of `section` set to `value`: the state record is kept as it is,
// the key replaced where it stands, or the section appended.
std::string write_ini_key(std::string_view file_bytes, std::string_view section,
                          std::string_view key, std::string_view value);

// The bytes of Settings.ini: the state record, then the tooth-file section when a tooth file
// has been chosen and the machine section when a LinuxCNC configuration has, so that the
// choices survive every save of the settings. Neither is part of the state record, so program
// files (.gof) stay as they were, and a Settings.ini without them still loads.
std::string settings_file_bytes(std::string_view state_record,
                                const std::optional<std::string>& tnd_file,
                                const std::optional<std::string>& machine_ini = std::nullopt);

inline constexpr std::string_view tnd_section = "tndfile";
inline constexpr std::string_view tnd_key = "name";
// The LinuxCNC configuration (.ini) whose limits time the programs the window checks.
inline constexpr std::string_view machine_section = "machine";
inline constexpr std::string_view machine_key = "ini";

}  // namespace ostrivane
