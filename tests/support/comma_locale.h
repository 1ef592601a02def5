#pragma once

namespace ostrivane::test {

// Switches the process to a locale whose decimal separator is a comma (German) while it
// lives, so that conversions can be shown to ignore the locale. active() is false when no such
// locale is installed.
class CommaLocale {
  public:
    CommaLocale();
    ~CommaLocale();
    bool active() const { return active_; }

  private:
    bool active_ = false;
};

}  // namespace ostrivane::test
