#include "core/text/ascii_text.h"

#include <gtest/gtest.h>

namespace ostrivane {
namespace {

TEST(ToAscii7, EachNonAsciiCharacterBecomesOneQuestionMark) {
    EXPECT_EQ(to_ascii7("G01 X1"), "G01 X1");
    EXPECT_EQ(to_ascii7("Kärvik"), "K?rvik");           // two bytes
    EXPECT_EQ(to_ascii7("€5"), "?5");                   // three bytes
    EXPECT_EQ(to_ascii7("a\xF0\x9F\x98\x80z"), "a?z");  // four bytes
    EXPECT_EQ(to_ascii7("a\xFF\xC3"), "a??");           // stray bytes, truncated sequence
}

TEST(IsAscii7, FindsAHighByteAtEveryPlaceOfTheWord) {
    // Eight bytes are tested at once: a byte at any place of a word, or in the tail after the
    // last whole word, must be seen.
    for (std::size_t length = 0; length <= 20; ++length) {
        std::string text(length, 'G');
        EXPECT_TRUE(is_ascii7(text)) << length;
        for (std::size_t at = 0; at < length; ++at) {
            for (const char high : {'\x80', '\xC3', '\xFF'}) {
                std::string marked = text;
                marked[at] = high;
                EXPECT_FALSE(is_ascii7(marked)) << length << " " << at;
            }
        }
    }
    EXPECT_TRUE(is_ascii7(std::string("\x7F\x00\x01", 3)));
}

TEST(SplitLines, AnyLineEnd) {
    const auto lines = split_lines("a\r\nb\nc\rd\r\n");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "a");
    EXPECT_EQ(lines[3], "d");
    EXPECT_EQ(split_lines("x\r\n\r\ny").size(), 3u);
    EXPECT_TRUE(split_lines("").empty());
}

}  // namespace
}  // namespace ostrivane
