#include "core/text/json_text.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace ostrivane {
namespace {

TEST(Utf8Text, KeepsValidSequencesAndReadsOtherBytesAsLatin1) {
    struct Case {
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"Karvik", "Karvik"},
        {"K\xC3\xA4rvik", "K\xC3\xA4rvik"},                        // UTF-8 already
        {"Caf\xE9", "Caf\xC3\xA9"},                                // a Latin-1 byte at the end
        {"\xE9t\xE9", "\xC3\xA9t\xC3\xA9"},                        // between ASCII
        {"\xC3", "\xC3\x83"},                                      // a sequence cut short
        {"\xC0\xAF", "\xC3\x80\xC2\xAF"},                          // an overlong form
        {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xC2\x80"},              // a surrogate
        {"\xF0\x9F\x99\x82", "\xF0\x9F\x99\x82"},                  // four bytes
        {"\xF4\x90\x80\x80", "\xC3\xB4\xC2\x90\xC2\x80\xC2\x80"},  // above U+10FFFF
    };
    for (const Case& c : cases)
        EXPECT_EQ(utf8_text(c.in), c.out) << c.in;
}

TEST(JsonQuoted, GivesAStringAnyJsonReaderTakesBack) {
    EXPECT_EQ(json_quoted("a \"b\" \\ c\n\x01"), "\"a \\\"b\\\" \\\\ c\\n\\u0001\"");
    EXPECT_EQ(json_quoted("Caf\xE9"), "\"Caf\xC3\xA9\"");
    // Every byte value, as a reader sees it: valid JSON holding the same characters.
    std::string all;
    for (int b = 1; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_EQ(nlohmann::json::parse(json_quoted(all)).get<std::string>(), utf8_text(all));
}

}  // namespace
}  // namespace ostrivane
