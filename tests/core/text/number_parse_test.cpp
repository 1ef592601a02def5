#include "core/text/number_parse.h"

#include <gtest/gtest.h>

#include "support/comma_locale.h"

namespace ostrivane {
namespace {

struct FloatCase {
    const char* text;
    std::optional<double> value;
};

class ParseFloat : public ::testing::TestWithParam<FloatCase> {};

TEST_P(ParseFloat, ReadsOnlyThePointFormat) {
    const FloatCase& c = GetParam();
    EXPECT_EQ(parse_float(c.text), c.value) << "text: '" << c.text << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseFloat,
    ::testing::Values(FloatCase{"3.2", 3.2}, FloatCase{"-3.2", -3.2}, FloatCase{"+10", 10.0},
                      FloatCase{"0", 0.0}, FloatCase{".5", 0.5}, FloatCase{"5.", 5.0},
                      FloatCase{"1e3", 1000.0}, FloatCase{"2.5E-1", 0.25}, FloatCase{"1e+2", 100.0},
                      FloatCase{" 7 ", 7.0}, FloatCase{"", std::nullopt},
                      FloatCase{" ", std::nullopt}, FloatCase{"3,2", std::nullopt},
                      FloatCase{"1,000.5", std::nullopt}, FloatCase{".", std::nullopt},
                      FloatCase{"-", std::nullopt}, FloatCase{"1e", std::nullopt},
                      FloatCase{"e5", std::nullopt}, FloatCase{"--1", std::nullopt},
                      FloatCase{"+-1", std::nullopt}, FloatCase{"1.2.3", std::nullopt},
                      FloatCase{"inf", std::nullopt}, FloatCase{"nan", std::nullopt},
                      FloatCase{"0x10", std::nullopt}, FloatCase{"1e999", std::nullopt},
                      FloatCase{"12abc", std::nullopt}));

struct IntCase {
    const char* text;
    std::optional<std::int32_t> value;
};

class ParseInt : public ::testing::TestWithParam<IntCase> {};

TEST_P(ParseInt, ReadsWhole32BitNumbers) {
    const IntCase& c = GetParam();
    EXPECT_EQ(parse_int(c.text), c.value) << "text: '" << c.text << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseInt,
    ::testing::Values(IntCase{"2", 2}, IntCase{"-2", -2}, IntCase{"+2", 2},
                      IntCase{"2147483647", 2147483647}, IntCase{"-2147483648", INT32_MIN},
                      IntCase{"2147483648", std::nullopt}, IntCase{"-2147483649", std::nullopt},
                      IntCase{"99999999999999999999", std::nullopt}, IntCase{"2.0", std::nullopt},
                      IntCase{"2e1", std::nullopt}, IntCase{"", std::nullopt},
                      IntCase{"-", std::nullopt}, IntCase{"1,000", std::nullopt}));

TEST(ParseUnderCommaLocale, PointStillTheOnlySeparator) {
    test::CommaLocale comma;
    if (!comma.active())
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    EXPECT_EQ(parse_float("3.2"), 3.2);
    EXPECT_EQ(parse_float("3,2"), std::nullopt);
    EXPECT_EQ(parse_int("12"), 12);
}

}  // namespace
}  // namespace ostrivane
