#include "core/text/ascii_text.h"

namespace ostrivane {
namespace {

// Length of the UTF-8 sequence starting at s[i], or 1 for a byte that starts none.
std::size_t sequence_length(std::string_view s, std::size_t i) {
    const auto lead = static_cast<unsigned char>(s[i]);
    std::size_t n = 1;
    if ((lead & 0xE0) == 0xC0) {
        n = 2;
    } else if ((lead & 0xF0) == 0xE0) {
        n = 3;
    } else if ((lead & 0xF8) == 0xF0) {
        n = 4;
    }
    if (i + n > s.size())
        return 1;
    for (std::size_t k = 1; k < n; ++k) {
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
            return 1;
    }
    return n;
}

}  // namespace

void append_ascii7(std::string& out, std::string_view utf8) {
    // Program lines are plain ASCII nearly always: those are copied whole.
    std::size_t i = 0;
    while (i < utf8.size() && static_cast<unsigned char>(utf8[i]) < 0x80)
        ++i;
    out.append(utf8.data(), i);
    while (i < utf8.size()) {
        if (static_cast<unsigned char>(utf8[i]) < 0x80) {
            out.push_back(utf8[i++]);
        } else {
            out.push_back('?');
            i += sequence_length(utf8, i);
        }
    }
}

std::string to_ascii7(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    append_ascii7(out, utf8);
    return out;
}

bool equal_nocase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (ascii_lower(a[i]) != ascii_lower(b[i]))
            return false;
    }
    return true;
}

std::vector<std::string_view> split_lines(std::string_view text) {
    std::vector<std::string_view> lines;
    for_each_line(text, [&](std::string_view line) { lines.push_back(line); });
    return lines;
}

std::string printable_excerpt(std::string_view text, std::size_t limit) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text.substr(0, limit)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F) {
            out += c;
        } else {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        }
    }
    if (text.size() > limit)
        out += "...";
    return out;
}

std::string with_full_stop(std::string_view sentence) {
    std::string out(sentence);
    if (!out.ends_with('.'))
        out += '.';
    return out;
}

}  // namespace ostrivane
