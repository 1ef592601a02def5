#include "core/text/coordinate_format.h"

#include <charconv>
#include <cmath>

#include "core/text/number_format.h"

namespace ostrivane {

std::string format_coordinate(double value) {
    if (!std::isfinite(value))
        return format_general(value);
    // Seven significant digits first, then three decimals: further digits show as zeros.
    char buffer[64];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 6);
    double rounded = value;
    std::from_chars(buffer, written.ptr, rounded, std::chars_format::scientific);
    return format_fixed(rounded, 3);
}

}  // namespace ostrivane
