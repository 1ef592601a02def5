#include "core/gcode/gcode_words.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ostrivane {
namespace {

// The words of a line as text ("G1 X-2.5"), or the problem found.
std::string split(std::string_view line, const GcodeWordRules& rules) {
    std::vector<GcodeWord> words;
    switch (split_gcode_words(line, rules, words)) {
        case GcodeLineProblem::open_comment:
            return "open comment";
        case GcodeLineProblem::not_gcode:
            return "not G-code";
        case GcodeLineProblem::none:
            break;
    }
    std::string text;
    for (const GcodeWord& w : words) {
        if (!text.empty())
            text += ' ';
        text += w.letter;
        std::string number = std::to_string(w.value);
        number.erase(number.find_last_not_of('0') + 1);
        if (number.back() == '.')
            number.pop_back();
        text += number;
    }
    return text;
}

TEST(GcodeWords, TheRulesDecideWhatIsNotAWord) {
    constexpr GcodeWordRules lenient{};
    constexpr GcodeWordRules strict{.refuse_open_comment = true, .percent_only_first = true};
    struct Case {
        const char* line;
        const char* lenient;
        const char* strict;
    };
    const Case cases[] = {
        {"g1 x 2.5\tY-1 (feed) F600 ; end", "G1 X2.5 Y-1 F600", "G1 X2.5 Y-1 F600"},
        {"G0 X1 (no end", "G0 X1", "open comment"},
        {"%", "", ""},
        {"G0 X1 % Y2", "G0 X1", "not G-code"},
        {"P1e999", "not G-code", "not G-code"},
        {"G0 X1,5", "not G-code", "not G-code"},
        {"G0 #1", "not G-code", "not G-code"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(split(c.line, lenient), c.lenient) << c.line;
        EXPECT_EQ(split(c.line, strict), c.strict) << c.line;
    }
}

}  // namespace
}  // namespace ostrivane
