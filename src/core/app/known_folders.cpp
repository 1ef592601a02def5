#include "core/app/known_folders.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <system_error>

#include "core/text/error.h"
#include "core/text/file_io.h"

namespace ostrivane {
namespace fs = std::filesystem;
namespace {

#ifdef _WIN32
constexpr const char* home_variable = "USERPROFILE";
#else
constexpr const char* home_variable = "HOME";
#endif

std::string env_text(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

// An absolute folder from the environment; empty when unset, empty or relative.
fs::path env_folder(const char* name) {
    fs::path folder(env_text(name));
    return folder.is_absolute() ? folder : fs::path();
}

fs::path home() {
    const std::string text = env_text(home_variable);
    if (text.empty())
        throw Error(std::string("The home folder is not known: ") + home_variable + " is not set.");
    fs::path folder(text);
    if (!folder.is_absolute()) {
        throw Error(std::string("The home folder is not known: ") + home_variable + " (" + text +
                    ") is not an absolute path.");
    }
    return folder;
}

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

void skip_blanks(std::string_view& s) {
    while (!s.empty() && is_blank(s.front()))
        s.remove_prefix(1);
}

// The value after "=": a double-quoted text with backslash escapes, or a bare word. nullopt for
// an unterminated quote.
std::optional<std::string> shell_value(std::string_view s) {
    std::string value;
    if (!s.empty() && s.front() == '"') {
        for (std::size_t i = 1; i < s.size(); ++i) {
            if (s[i] == '"')
                return value;
            if (s[i] == '\\' && i + 1 < s.size())
                ++i;
            value += s[i];
        }
        return std::nullopt;
    }
    for (const char c : s) {
        if (is_blank(c) || c == '#')
            break;
        value += c;
    }
    return value;
}

#ifndef _WIN32
// A user-dirs.dirs file is a few lines; anything longer, or anything but a file (a pipe would
// hold the program at start), is not one and is passed over.
constexpr std::uint64_t user_dirs_limit = 64 * 1024;

std::optional<std::string> read_user_dirs(const fs::path& file) {
    try {
        return read_file_limited(file, user_dirs_limit, "a user-dirs.dirs file");
    } catch (const Error&) {
        return std::nullopt;
    }
}
#endif

}  // namespace

fs::path data_folder() {
#ifdef _WIN32
    const fs::path base = env_folder("APPDATA");
    if (base.empty())
        throw Error("The application data folder is not known: APPDATA is not set.");
    return base / "Ostrivane";
#else
    fs::path base = env_folder("XDG_DATA_HOME");
    if (base.empty())
        base = home() / ".local" / "share";
    return base / "Ostrivane";
#endif
}

std::optional<fs::path> user_dirs_documents(std::string_view text, const fs::path& home_folder) {
    constexpr std::string_view key = "XDG_DOCUMENTS_DIR";
    constexpr std::string_view home_word = "$HOME";
    std::optional<fs::path> found;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        skip_blanks(line);
        if (line.substr(0, key.size()) != key)
            continue;  // a comment, another folder, or not an entry at all
        line.remove_prefix(key.size());
        skip_blanks(line);
        if (line.empty() || line.front() != '=')
            continue;
        line.remove_prefix(1);
        skip_blanks(line);
        const auto value = shell_value(line);
        if (!value)
            continue;
        const std::string_view v = *value;
        if (v.substr(0, home_word.size()) == home_word &&
            (v.size() == home_word.size() || v[home_word.size()] == '/')) {
            if (home_folder.empty()) {
                found.reset();  // the desktop's folder is somewhere we cannot name
                continue;
            }
            const std::string_view rest = v.substr(home_word.size());
            found = rest.size() <= 1 ? home_folder : home_folder / std::string(rest.substr(1));
        } else if (!v.empty() && v.front() == '/') {
            found = fs::path(std::string(v));
        }
        // Anything else (a relative path, another variable) is not a folder we can name.
    }
    return found;
}

fs::path documents_folder() {
    if (fs::path docs = env_folder("XDG_DOCUMENTS_DIR"); !docs.empty())
        return docs;
#ifndef _WIN32
    fs::path config = env_folder("XDG_CONFIG_HOME");
    if (config.empty())
        config = home() / ".config";
    if (const auto text = read_user_dirs(config / "user-dirs.dirs")) {
        const std::string home_text = env_text(home_variable);
        const fs::path home_folder =
            fs::path(home_text).is_absolute() ? fs::path(home_text) : fs::path();
        if (auto docs = user_dirs_documents(*text, home_folder))
            return *docs;
    }
#endif
    return home() / "Documents";
}

void make_documents_folder(const fs::path& folder) {
    if (folder.empty())
        throw Error("The Documents folder is not known, so there is nowhere to write the file.");
    std::error_code ec;
    if (fs::exists(folder, ec))
        return;  // a file of that name is reported when the file in it cannot be created
    if (!fs::create_directory(folder, ec) && ec) {
        throw Error("Cannot create the Documents folder " + folder.string() + ": " + ec.message());
    }
}

std::string with_separator(const fs::path& folder) {
    std::string text = folder.string();
    if (text.empty() || text.back() != static_cast<char>(fs::path::preferred_separator)) {
        text += static_cast<char>(fs::path::preferred_separator);
    }
    return text;
}

}  // namespace ostrivane
