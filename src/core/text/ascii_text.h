#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace ostrivane {

// The line end of every text file the program writes.
inline constexpr std::string_view crlf = "\r\n";

// 7-bit ASCII for files read by machine controllers: each character outside ASCII (one UTF-8
// sequence, or one stray byte that is not valid UTF-8) becomes a single "?".
std::string to_ascii7(std::string_view utf8);
// The same, appended to `out`.
void append_ascii7(std::string& out, std::string_view utf8);

// True when every byte is 7-bit ASCII, as nearly every program line is: tested eight bytes at a
// time, since a long program asks it millions of times.
inline bool is_ascii7(std::string_view text) {
    constexpr std::uint64_t high_bits = 0x8080808080808080u;
    const auto word_at = [&text](std::size_t at) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + at, 8);
        return word;
    };
    std::uint64_t bits = 0;
    if (text.size() >= 8) {
        for (std::size_t i = 0; i + 8 <= text.size(); i += 8)
            bits |= word_at(i);
        bits |= word_at(text.size() - 8);  // the rest, overlapping the last whole word
    } else {
        for (const char c : text)
            bits |= static_cast<unsigned char>(c);
    }
    return (bits & high_bits) == 0;
}

// The text without the leading and trailing characters for which is_blank(c) holds.
template <typename IsBlank>
constexpr std::string_view trim_if(std::string_view text, IsBlank is_blank) {
    while (!text.empty() && is_blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && is_blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The text without leading and trailing characters from `blanks` (blanks and tabs by default).
constexpr std::string_view trim(std::string_view text, std::string_view blanks = " \t") {
    return trim_if(text, [blanks](char c) { return blanks.find(c) != std::string_view::npos; });
}

// ASCII letters only: the other bytes, UTF-8 sequences among them, stay as they are.
constexpr char ascii_upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
constexpr char ascii_lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Equal when compared with ASCII letters folded to one case.
bool equal_nocase(std::string_view a, std::string_view b);

// Splits text into lines at LF, CR LF or a lone CR; a final line end adds no empty line.
std::vector<std::string_view> split_lines(std::string_view text);

// Calls line(view) for each line of the text, as split_lines cuts them, without a list.
template <typename Line>
void for_each_line(std::string_view text, Line&& line) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n' && text[i] != '\r')
            continue;
        line(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        line(text.substr(start));
}

// The start of a text from outside as a message can show it: at most `limit` bytes, each byte
// that is not printable ASCII written as \xNN, and "..." when there was more. A binary or
// endless input can then neither garble nor flood the message.
std::string printable_excerpt(std::string_view text, std::size_t limit);

// A message ending in a full stop, so that another sentence can follow it: "." is added when
// it does not end in one already.
std::string with_full_stop(std::string_view sentence);

}  // namespace ostrivane
