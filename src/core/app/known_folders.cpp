#include "core/app/known_folders.h"

#include <cstdlib>
#include <string>

namespace ostrivane {
namespace fs = std::filesystem;
namespace {

fs::path env_path(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? fs::path(value) : fs::path();
}

fs::path home() {
#ifdef _WIN32
    return env_path("USERPROFILE");
#else
    return env_path("HOME");
#endif
}

}  // namespace

fs::path data_folder() {
#ifdef _WIN32
    return env_path("APPDATA") / "Ostrivane";
#else
    fs::path base = env_path("XDG_DATA_HOME");
    if (base.empty())
        base = home() / ".local" / "share";
    return base / "Ostrivane";
#endif
}

fs::path documents_folder() {
    fs::path docs = env_path("XDG_DOCUMENTS_DIR");
    return docs.empty() ? home() / "Documents" : docs;
}

std::string with_separator(const fs::path& folder) {
    std::string text = folder.string();
    if (text.empty() || text.back() != static_cast<char>(fs::path::preferred_separator)) {
        text += static_cast<char>(fs::path::preferred_separator);
    }
    return text;
}

}  // namespace ostrivane
