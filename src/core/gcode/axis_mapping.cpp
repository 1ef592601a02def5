#include "core/gcode/axis_mapping.h"

#include <string_view>

#include "core/app/main_window_fields.h"
#include "core/text/error.h"

namespace ostrivane {
namespace {

// The program's own axes, in the order of Axis.
constexpr std::string_view program_axis_letters = "XYZW";

// The selector of each program axis, in the order of Axis.
constexpr std::array<std::string_view, 4> selectors = {"GcodeX", "GCodeY", "GCodeZ", "GCodeW"};

std::size_t index_of(Axis axis) {
    return static_cast<std::size_t>(axis);
}

}  // namespace

char axis_name(Axis axis) {
    return program_axis_letters[index_of(axis)];
}

char get_mapped(const FieldSource& fields, Axis axis) {
    const int index = fields.selected(selectors[index_of(axis)]);
    if (index < 0 || index >= static_cast<int>(axis_letters.size())) {
        throw Error(std::string("GCode ") + axis_name(axis) +
                    "-axis has invalid value. Please correct in settings.");
    }
    return axis_letters[static_cast<std::size_t>(index)];
}

std::string get_mapped_X(const FieldSource& fields) {
    return std::string(1, get_mapped(fields, Axis::X));
}
std::string get_mapped_Y(const FieldSource& fields) {
    return std::string(1, get_mapped(fields, Axis::Y));
}
std::string get_mapped_Z(const FieldSource& fields) {
    return std::string(1, get_mapped(fields, Axis::Z));
}
std::string get_mapped_W(const FieldSource& fields) {
    return std::string(1, get_mapped(fields, Axis::W));
}

}  // namespace ostrivane
