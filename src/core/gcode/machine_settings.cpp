#include "core/gcode/machine_settings.h"

#include <array>
#include <cmath>
#include <string_view>

#include "core/text/error.h"

namespace ostrivane {
namespace {

// In the order of Feed and of Axis.
constexpr std::array<std::string_view, 3> feed_fields = {"finemillfeed", "normfeed", "homefeed"};
constexpr std::array<std::string_view, 4> invert_boxes = {"InvertX", "InvertY", "InvertZ",
                                                          "InvertW"};

}  // namespace

double FieldMachineSettings::feed_per_minute(Feed feed) const {
    const std::string_view field = feed_fields[static_cast<std::size_t>(feed)];
    // Settings are entered in mm/s. A value so large that it overflows would be written as a
    // word no controller reads, so it stops the job instead.
    const double per_minute = validate_float(fields_, field) * 60;
    if (!std::isfinite(per_minute)) {
        throw Error(fields_.text(field) + " inside " + fields_.label(field) +
                    " is too large for a feedrate.");
    }
    return per_minute;
}

bool FieldMachineSettings::inverted(Axis axis) const {
    return fields_.checked(invert_boxes[static_cast<std::size_t>(axis)]);
}

}  // namespace ostrivane
