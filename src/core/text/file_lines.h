#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>

namespace ostrivane {

// Calls line(text, bytes_read) for every line of a file from outside the program, read piece
// by piece in constant memory: lines end at LF, CR LF or a lone CR, and a final line end adds
// no empty line; `bytes_read` is how far the file has been read when the line is handed over.
// The file is opened as InputFile opens it (`max_bytes`, `what`). Throws Error naming the file
// for one that cannot be read and for a line longer than `max_line` characters ("… so it is not
// <what>"); what `line` throws ends the reading.
void for_each_line_of_file(const std::filesystem::path& file, std::uint64_t max_bytes,
                           std::string_view what, std::size_t max_line,
                           const std::function<void(std::string_view, std::uint64_t)>& line);

}  // namespace ostrivane
