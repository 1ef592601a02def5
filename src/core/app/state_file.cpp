#include "core/app/state_file.h"

#include <system_error>

#include "core/text/ascii_text.h"
#include "core/text/error.h"
#include "core/text/file_io.h"

namespace ostrivane {
namespace {

// Where the INI text starts: after a readable state record, else at the beginning. A record
// counts only when its text is a JSON object: a damaged one whose length happens to fit once
// the section is added would otherwise swallow the section's lines.
std::size_t ini_start(std::string_view bytes) {
    try {
        const StateRecord record = decode_state_file(bytes);
        return state_text_error(record.json_text) ? 0 : record.size;
    } catch (const Error&) {
        return 0;
    }
}

std::optional<std::string_view> section_name(std::string_view line) {
    line = trim(line);
    if (line.size() < 2 || line.front() != '[' || line.back() != ']')
        return std::nullopt;
    return trim(line.substr(1, line.size() - 2));
}

// True for text that is INI lines alone, starting with a section: what a save of the tooth-file
// choice once left in a data folder that had no settings yet. It holds no state to restore.
bool only_ini_sections(std::string_view bytes) {
    bool section_seen = false;
    for (const std::string_view line : split_lines(bytes)) {
        if (trim(line).empty())
            continue;
        if (section_name(line))
            section_seen = true;
        else if (!section_seen || line.find('=') == std::string_view::npos)
            return false;
    }
    return section_seen;
}

std::optional<std::string_view> key_value(std::string_view line, std::string_view key) {
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos || !equal_nocase(trim(line.substr(0, eq)), key)) {
        return std::nullopt;
    }
    return trim(line.substr(eq + 1));
}

}  // namespace

bool starts_with_state_record(std::string_view file_bytes) {
    return ini_start(file_bytes) > 0;
}

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
                                const std::optional<std::string>& tnd_file,
                                const std::optional<std::string>& machine_ini) {
    std::string bytes(state_record);
    if (tnd_file)
        bytes = write_ini_key(bytes, tnd_section, tnd_key, *tnd_file);
    if (machine_ini)
        bytes = write_ini_key(bytes, machine_section, machine_key, *machine_ini);
    return bytes;
}

std::string read_state_file(const std::filesystem::path& file) {
    return read_file_limited(file, max_state_file_size, "a window-state file");
}

std::filesystem::path unreadable_copy_name(const std::filesystem::path& file) {
    std::filesystem::path copy = file;
    copy += ".unreadable";
    return copy;
}

namespace {

// A file too long to read is copied by the system up to this size. Beyond it a copy would take
// long and fill the disk (a huge sparse file takes no room until copied), so the file is left
// where it is and not saved over instead.
constexpr std::uintmax_t largest_copied_file = std::uintmax_t{64} << 20;

// Copies the file that could not be restored to its ".unreadable" name. The bytes already read
// are written as they are; a file too long to read is copied by the system.
void keep_copy(const std::filesystem::path& file, StateRestore& result) {
    namespace fs = std::filesystem;
    const fs::path copy = unreadable_copy_name(file);
    std::error_code ec;
    try {
        if (result.bytes) {
            write_file_atomically(copy, *result.bytes);
        } else if (fs::is_regular_file(file, ec)) {
            if (const std::uintmax_t size = fs::file_size(file, ec);
                !ec && size > largest_copied_file) {
                throw Error("Cannot copy file " + file.string() + ": it is longer than " +
                            std::to_string(largest_copied_file) + " bytes");
            }
            fs::copy_file(file, copy, fs::copy_options::overwrite_existing, ec);
            if (ec)
                throw Error("Cannot copy file " + file.string() + ": " + ec.message());
        } else {
            // A folder, device or pipe by that name: no save will write over it.
            return;
        }
        result.kept_copy = copy;
    } catch (const Error& e) {
        result.copy_failure = e.what();
        result.may_overwrite = false;
    }
}

}  // namespace

StateRestore restore_state_file(const std::filesystem::path& file,
                                std::span<const ComponentSpec> components, FormAccess& form) {
    namespace fs = std::filesystem;
    StateRestore result;
    std::error_code ec;
    const fs::file_status st = fs::symlink_status(file, ec);
    // Not found is the only answer that says there is nothing; any other error (no access to
    // the folder, a loop of links) means something may be there that could not be read.
    if (st.type() == fs::file_type::not_found)
        return result;
    result.found = true;
    try {
        result.bytes = read_state_file(file);
        if (only_ini_sections(*result.bytes))
            return result;
        result.failure = restore_form_state(*result.bytes, components, form);
    } catch (const Error& e) {
        result.failure = e.what();
    } catch (const std::exception& e) {
        result.failure = e.what();
    }
    if (result.failure && !(result.bytes && result.bytes->empty()))
        keep_copy(file, result);
    return result;
}

std::string StateRestore::notice(const std::filesystem::path& file) const {
    if (!failure)
        return {};
    std::string text = file.string() + " could not be restored: " + *failure;
    if (!text.ends_with('.'))
        text += '.';
    if (kept_copy)
        text += " A copy of it is kept as " + kept_copy->string() + ".";
    if (copy_failure) {
        text += " No copy of it could be made (" + *copy_failure +
                "), so it will not be saved over when the program closes.";
    }
    return text;
}

}  // namespace ostrivane
