#include "core/app/state_file.h"

#include "core/app/form_state.h"
#include "core/text/ascii_text.h"
#include "core/text/error.h"

namespace ostrivane {
namespace {

// Where the INI text starts: after a readable state record, else at the beginning.
std::size_t ini_start(std::string_view bytes) {
    try {
        return decode_state_file(bytes).size;
    } catch (const Error&) {
        return 0;
    }
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

bool equal_nocase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

std::optional<std::string_view> section_name(std::string_view line) {
    line = trim(line);
    if (line.size() < 2 || line.front() != '[' || line.back() != ']')
        return std::nullopt;
    return trim(line.substr(1, line.size() - 2));
}

std::optional<std::string_view> key_value(std::string_view line, std::string_view key) {
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos || !equal_nocase(trim(line.substr(0, eq)), key)) {
        return std::nullopt;
    }
    return trim(line.substr(eq + 1));
}

}  // namespace

std::optional<std::string> read_ini_key(std::string_view file_bytes, std::string_view section,
                                        std::string_view key) {
    bool inside = false;
    for (const std::string_view line : split_lines(file_bytes.substr(ini_start(file_bytes)))) {
        if (const auto name = section_name(line)) {
            inside = equal_nocase(*name, section);
        } else if (inside) {
            if (const auto value = key_value(line, key))
                return std::string(*value);
        }
    }
    return std::nullopt;
}

std::string write_ini_key(std::string_view file_bytes, std::string_view section,
                          std::string_view key, std::string_view value) {
    const std::size_t start = ini_start(file_bytes);
    std::string out(file_bytes.substr(0, start));
    const std::string entry = std::string(key) + "=" + std::string(value);
    bool inside = false;
    bool done = false;
    for (const std::string_view line : split_lines(file_bytes.substr(start))) {
        if (const auto name = section_name(line)) {
            if (inside && !done) {
                out += entry + std::string(crlf);
                done = true;
            }
            inside = equal_nocase(*name, section);
        } else if (inside && !done && key_value(line, key)) {
            out += entry + std::string(crlf);
            done = true;
            continue;
        }
        out += std::string(line) + std::string(crlf);
    }
    if (!done) {
        if (!inside)
            out += "[" + std::string(section) + "]" + std::string(crlf);
        out += entry + std::string(crlf);
    }
    return out;
}

std::string settings_file_bytes(std::string_view state_record,
                                const std::optional<std::string>& tnd_file) {
    if (!tnd_file)
        return std::string(state_record);
    return write_ini_key(state_record, tnd_section, tnd_key, *tnd_file);
}

}  // namespace ostrivane
