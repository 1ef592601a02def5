#include "core/editor/working_range.h"

#include <cmath>

#include "core/text/number_format.h"

namespace ostrivane {

bool within_working_range(double value) {
    return std::isfinite(value) && std::fabs(value) <= kWorkingRange;
}

std::optional<std::string> working_range_problem(double value, std::string_view label) {
    if (within_working_range(value))
        return std::nullopt;
    return std::string(label) + " must lie between -" + format_general(kWorkingRange) + " and " +
           format_general(kWorkingRange) + ", not " + format_general(value) + ".";
}

}  // namespace ostrivane
