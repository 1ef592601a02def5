#pragma once
#include <gtest/gtest.h>

#include <cmath>

namespace ostrivane::test {

// |a - b| <= tolerance, printing both values and the tolerance when it fails.
inline ::testing::AssertionResult near(double a, double b, double tolerance) {
    if (std::fabs(a - b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << a << " and " << b << " differ by " << std::fabs(a - b)
                                         << ", more than the tolerance " << tolerance;
}

}  // namespace ostrivane::test
