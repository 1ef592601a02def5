#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ostrivane {

// Reads a whole file as bytes; nullopt when it cannot be opened or read.
std::optional<std::string> read_file(const std::filesystem::path& path);

// Writes a file so that it is either complete or untouched: the bytes go to a temporary file
// in the same folder, which then replaces the old file. Throws Error naming the file on failure.
void write_file_atomically(const std::filesystem::path& path, std::string_view bytes);

// Writes a file in place (for outputs that are not the user's work, such as G-code and tooth
// files, where a replace would lose the file's link or permissions). Throws Error on failure.
void write_file(const std::filesystem::path& path, std::string_view bytes);

}  // namespace ostrivane
