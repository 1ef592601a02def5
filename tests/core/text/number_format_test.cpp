#include "core/text/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "support/comma_locale.h"

namespace ostrivane {
namespace {

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    const struct {
        double in, out;
    } cases[] = {{0.5, 0.0},   {1.5, 2.0},    {2.5, 2.0},    {-0.5, -0.0}, {-1.5, -2.0},
                 {-2.5, -2.0}, {2.4999, 2.0}, {2.5001, 3.0}, {7.0, 7.0},   {-7.2, -7.0}};
    for (const auto& c : cases)
        EXPECT_EQ(round_half_even(c.in), c.out) << c.in;
    EXPECT_EQ(round_to_int(4503599627370495.5), 4503599627370496);
}

TEST(FormatGeneral, FifteenDigitsWithoutTrailingZeros) {
    const struct {
        double value;
        const char* text;
    } cases[] = {{270.0, "270"},
                 {199.8, "199.8"},
                 {3.33 * 60, "199.8"},
                 {0.0, "0"},
                 {-0.0, "0"},
                 {-12.5, "-12.5"},
                 {0.1 + 0.2, "0.3"},
                 {1.0 / 3.0, "0.333333333333333"},
                 {123456789012345.0, "123456789012345"},
                 {1e15, "1E15"},
                 {1.5e20, "1.5E20"},
                 {0.00001, "0.00001"},
                 {0.000015, "0.000015"},
                 {1.5e-7, "1.5E-7"},
                 {0.0000099999999999999999, "0.00001"},
                 {std::numeric_limits<double>::infinity(), "INF"},
                 {-std::numeric_limits<double>::infinity(), "-INF"},
                 {std::numeric_limits<double>::quiet_NaN(), "NAN"},
                 {-std::numeric_limits<double>::quiet_NaN(), "NAN"}};
    for (const auto& c : cases)
        EXPECT_EQ(format_general(c.value), c.text) << c.value;
}

TEST(FormatFixed, DistancesAndDwells) {
    EXPECT_EQ(format_distance(12.5), "12.50000000");
    EXPECT_EQ(format_distance(-3.2), "-3.20000000");
    EXPECT_EQ(format_distance(0.0), "0.00000000");
    EXPECT_EQ(format_distance(-0.0), "0.00000000");
    EXPECT_EQ(format_distance(-1e-12), "0.00000000");
    EXPECT_EQ(format_distance(123456.123456789), "123456.12345679");
    EXPECT_EQ(format_f(0.5), "0.50");
    EXPECT_EQ(format_f(0.0032), "0.00");
    EXPECT_EQ(format_fixed(2.0, 0), "2");
}

// The fast distance path must give the general path's text for every value: random values of
// every size a program holds, exact ties (multiples of 2^-n), the edges of the fast range, tiny
// and huge values, and both zeros.
TEST(FormatFixed, AppendedDistancesEqualTheGeneralFormat) {
    std::vector<double> values = {
        0.0,   -0.0,        1e10,  -1e10,  9999999999.999999, 1e-9, -4e-9, 5e-9,
        -5e-9, 0.000000005, 1e300, -1e300, 4.9e-324,          0.1,  2.675, 1e-320};
    std::mt19937_64 random(20261211);
    std::uniform_real_distribution<double> exponent(-12, 11);
    for (int k = 0; k < 200000; ++k) {
        const double magnitude = std::pow(10.0, exponent(random));
        const double value = std::uniform_real_distribution<double>(-magnitude, magnitude)(random);
        values.push_back(value);
        // Ties: a whole number of 2^-n for small n sits exactly halfway at the ninth decimal.
        values.push_back(std::ldexp(std::round(value * 1024), -10 - static_cast<int>(k % 30)));
    }
    for (const double v : values) {
        std::string appended = "X";
        append_distance(appended, v);
        ASSERT_EQ(appended, "X" + format_fixed(v, 8)) << v;
        ASSERT_EQ(format_distance(v), format_fixed(v, 8)) << v;
    }
}

TEST(FormatToothReal, TwentyThreeCharacters) {
    const struct {
        double value;
        const char* text;
    } cases[] = {{0.0, " 0.00000000000000E+0000"},       {-0.0, " 0.00000000000000E+0000"},
                 {10.0, " 1.00000000000000E+0001"},      {3.2, " 3.20000000000000E+0000"},
                 {0.25, " 2.50000000000000E-0001"},      {-1.5, "-1.50000000000000E+0000"},
                 {1.0 / 3.0, " 3.33333333333333E-0001"}, {1e-300, " 1.00000000000000E-0300"},
                 {-123456.5, "-1.23456500000000E+0005"}};
    for (const auto& c : cases) {
        EXPECT_EQ(format_tooth_real(c.value), c.text) << c.value;
        EXPECT_EQ(format_tooth_real(c.value).size(), 23u);
    }
}

TEST(FormatUnderCommaLocale, OutputKeepsThePoint) {
    test::CommaLocale comma;
    if (!comma.active())
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    EXPECT_EQ(format_general(199.8), "199.8");
    EXPECT_EQ(format_distance(12.5), "12.50000000");
    EXPECT_EQ(format_f(0.5), "0.50");
    EXPECT_EQ(format_tooth_real(3.2), " 3.20000000000000E+0000");
    EXPECT_EQ(format_shortest(0.1), "0.1");
}

}  // namespace
}  // namespace ostrivane
