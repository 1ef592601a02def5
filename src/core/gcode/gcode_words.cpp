#include "core/gcode/gcode_words.h"

#include <cmath>

#include "core/text/ascii_text.h"
#include "core/text/number_parse.h"

namespace ostrivane {
namespace {
bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

bool is_blank(char c) {
    return c == ' ' || c == '\t';
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

GcodeLineProblem split_gcode_words(std::string_view line, const GcodeWordRules& rules,
                                   std::vector<GcodeWord>& words) {
    words.clear();
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (is_blank(c)) {
            ++i;
        } else if (c == '(') {
            const std::size_t end = line.find(')', i);
            if (end == std::string_view::npos)
                return rules.refuse_open_comment ? GcodeLineProblem::open_comment
                                                 : GcodeLineProblem::none;
            i = end + 1;
        } else if (c == ';' || (c == '%' && (!rules.percent_only_first || words.empty()))) {
            break;
        } else {
            const char letter = ascii_upper(c);
            std::size_t j = i + 1;
            while (j < line.size() && is_blank(line[j]))
                ++j;
            const std::size_t start = j;
            j = gcode_number_end(line, j);
            const auto value = parse_float(line.substr(start, j - start));
            if (letter < 'A' || letter > 'Z' || !value || !std::isfinite(*value))
                return GcodeLineProblem::not_gcode;
            words.push_back({letter, *value});
            i = j;
        }
    }
    return GcodeLineProblem::none;
}

}  // namespace ostrivane
