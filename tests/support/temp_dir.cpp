#include "support/temp_dir.h"

#include <cstdlib>
#include <random>
#include <string>

namespace ostrivane::test {
namespace fs = std::filesystem;

TempDir::TempDir() {
    std::random_device rd;
    for (;;) {
        path_ = fs::temp_directory_path() / ("ostrivane-test-" + std::to_string(rd()));
        if (fs::create_directory(path_))
            break;
    }
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

TempHome::TempHome() {
    const fs::path home = dir_.path();
    fs::create_directories(home / "Documents");
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_DATA_HOME", (home / ".local/share").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home / ".config").c_str(), 1);
    ::setenv("XDG_DOCUMENTS_DIR", (home / "Documents").c_str(), 1);
}

TempHome::~TempHome() = default;

}  // namespace ostrivane::test
