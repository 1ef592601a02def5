#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ostrivane {

// Settings.ini holds the main window's state record and, after it, an INI section
// "[tndfile]" whose key "name" is the tooth file chosen for turning jobs.

// The value of key `name` of section `section` in the INI lines that follow the state record
// (or in the whole text, when it does not start with a readable record); nullopt when absent.
std::optional<std::string> read_ini_key(std::string_view file_bytes, std::string_view section,
                                        std::string_view key);

// The file's bytes with `name` of `section` set to `value`: the state record is kept as it is,
// the key replaced where it stands, or the section appended.
std::string write_ini_key(std::string_view file_bytes, std::string_view section,
                          std::string_view key, std::string_view value);

// The bytes of Settings.ini: the state record, then the tooth-file section when a tooth file
// has been chosen, so that the choice survives every save of the settings.
std::string settings_file_bytes(std::string_view state_record,
                                const std::optional<std::string>& tnd_file);

inline constexpr std::string_view tnd_section = "tndfile";
inline constexpr std::string_view tnd_key = "name";

}  // namespace ostrivane
