#include "core/toolpath/text_lines.h"

namespace ostrivane {

std::optional<std::string_view> TextLines::next() {
    if (at_end())
        return std::nullopt;
    const std::size_t end = text_.find_first_of("\r\n", position_);
    std::string_view line;
    if (end == std::string_view::npos) {
        line = text_.substr(position_);
        position_ = text_.size();
    } else {
        line = text_.substr(position_, end - position_);
        position_ = end + 1;
        if (text_[end] == '\r' && position_ < text_.size() && text_[position_] == '\n')
            ++position_;
    }
    ++line_number_;
    return line;
}

}  // namespace ostrivane
