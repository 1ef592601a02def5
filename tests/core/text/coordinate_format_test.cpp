#include "core/text/coordinate_format.h"

#include <gtest/gtest.h>

#include <limits>

namespace ostrivane {
namespace {

TEST(FormatCoordinate, ThreeDecimalsOfSevenSignificantDigits) {
    const struct {
        double in;
        const char* out;
    } cases[] = {
        {0, "0.000"},
        {1.5, "1.500"},
        {-7.25, "-7.250"},
        {1234.5678, "1234.568"},
        {12345.678, "12345.680"},  // the eighth digit is rounded away
        {0.0004, "0.000"},
        {12345678.9, "12345680.000"},  // beyond seven integer digits still fixed
        {std::numeric_limits<double>::infinity(), "INF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(format_coordinate(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace ostrivane
