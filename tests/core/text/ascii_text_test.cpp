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
