#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ostrivane::cli {

// A wrong command line: printed with a hint to --help, exit code 2.
struct UsageError {
    std::string message;
};

// The words of a command line, consumed front to back.
class Arguments {
  public:
    explicit Arguments(std::vector<std::string> words) : words_(std::move(words)) {}

    bool empty() const { return words_.empty(); }
    // The next word; throws UsageError naming `what` when there is none.
    std::string take(std::string_view what);
    // Removes "--flag" wherever it stands; true when it was there.
    bool take_flag(std::string_view flag);
    // Removes every "--option VALUE" (or "--option=VALUE") and returns the values in order.
    std::vector<std::string> take_all(std::string_view option);
    std::optional<std::string> take_option(std::string_view option);
    // Throws UsageError when words are left over.
    void expect_end() const;

  private:
    std::vector<std::string> words_;
};

}  // namespace ostrivane::cli
