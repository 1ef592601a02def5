#pragma once
#include <filesystem>

namespace ostrivane::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& name) const {
        return path_ / name;
    }

  private:
    std::filesystem::path path_;
};

// Points HOME and the XDG folders at a temporary folder while it lives, so that tests never
// touch the real data or Documents folders.
class TempHome {
  public:
    TempHome();
    ~TempHome();
    const TempDir& dir() const { return dir_; }

  private:
    TempDir dir_;
};

}  // namespace ostrivane::test
