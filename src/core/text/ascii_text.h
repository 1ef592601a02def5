#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace ostrivane {

// The line end of every text file the program writes.
inline constexpr std::string_view crlf = "\r\n";

// 7-bit ASCII for files read by machine controllers: each character outside ASCII (one UTF-8
// sequence, or one stray byte that is not valid UTF-8) becomes a single "?".
std::string to_ascii7(std::string_view utf8);

// Splits text into lines at LF, CR LF or a lone CR; a final line end adds no empty line.
std::vector<std::string_view> split_lines(std::string_view text);

}  // namespace ostrivane
