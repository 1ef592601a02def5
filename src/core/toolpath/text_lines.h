#pragma once
#include <cstddef>
#include <optional>
#include <string_view>

namespace ostrivane {

// The lines of a text file read one after another, as a text reader delivers them: a line ends
// at CR LF, LF or a lone CR, and a final line end does not open another (empty) line. Any bytes
// are accepted; nothing is copied.
class TextLines {
  public:
    explicit TextLines(std::string_view text) : text_(text) {}

    bool at_end() const { return position_ >= text_.size(); }
    // The next line without its line end; nullopt at the end of the text.
    std::optional<std::string_view> next();
    // Number of the line next() returned last, from 1.
    std::size_t line_number() const { return line_number_; }

  private:
    std::string_view text_;
    std::size_t position_ = 0;
    std::size_t line_number_ = 0;
};

}  // namespace ostrivane
