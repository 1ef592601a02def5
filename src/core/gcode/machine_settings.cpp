#include "core/gcode/machine_settings.h"

#include <cmath>
#include <string>
#include <string_view>

#include "core/text/error.h"

namespace ostrivane {
namespace {

// In the order of Feed and of Axis.
constexpr std::array<std::string_view, 3> feed_fields = {"finemillfeed", "normfeed", "homefeed"};
constexpr std::array<std::string_view, 4> invert_boxes = {"InvertX", "InvertY", "InvertZ",
                                                          "InvertW"};

double feed_per_minute(const FieldSource& fields, Feed feed) {
    const std::string_view field = feed_fields[static_cast<std::size_t>(feed)];
    // Settings are entered in mm/s. A value so large that it overflows would be written as a
    // word no controller reads, so it stops the job instead.
    const double per_minute = validate_float(fields, field) * 60;
    if (!std::isfinite(per_minute)) {
        throw Error(fields.text(field) + " inside " + fields.label(field) +
                    " is too large for a feedrate.");
    }
    return per_minute;
}

std::string no_letter_message(Axis axis) {
    return std::string("GCode ") + axis_name(axis) +
           "-axis has invalid value. Please correct in settings.";
}

}  // namespace

char MachineSettings::letter_of(Axis axis) const {
    const char c = letter[static_cast<std::size_t>(axis)];
    if (c == 0)
        throw Error(no_letter_message(axis));
    return c;
}

MachineSettings read_machine_settings(const FieldSource& fields) {
    MachineSettings s;
    for (const Axis axis : program_axes) {
        const auto a = static_cast<std::size_t>(axis);
        try {
            s.letter[a] = get_mapped(fields, axis);
        } catch (const Error&) {
            if (axis != Axis::W)
                throw;
            s.letter[a] = 0;
        }
        s.inverted[a] = fields.checked(invert_boxes[a]);
    }
    for (const Feed f : {Feed::normal, Feed::fine_milling, Feed::homing})
        s.feed_per_minute[static_cast<std::size_t>(f)] = feed_per_minute(fields, f);
    return s;
}

}  // namespace ostrivane
