#include "core/gcode/gcode_words.h"

namespace ostrivane {
namespace {
bool is_digit(char c) {
    return c >= '0' && c <= '9';
}
}  // namespace

std::size_t gcode_number_end(std::string_view line, std::size_t i) {
    while (i < line.size() &&
           (is_digit(line[i]) || line[i] == '.' || line[i] == '+' || line[i] == '-'))
        ++i;
    if (i < line.size() && (line[i] == 'e' || line[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < line.size() && (line[j] == '+' || line[j] == '-'))
            ++j;
        if (j < line.size() && is_digit(line[j])) {
            while (j < line.size() && is_digit(line[j]))
                ++j;
            i = j;
        }
    }
    return i;
}

}  // namespace ostrivane
