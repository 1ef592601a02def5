#include "core/gcode/axis_mapping.h"

#include <string_view>

#include "core/text/error.h"

namespace ostrivane {
namespace {

std::string mapped(const FieldSource& fields, std::string_view selector, char axis) {
    constexpr std::string_view letters = "XYZW";
    const int index = fields.selected(selector);
    if (index < 0 || index >= static_cast<int>(letters.size())) {
        throw Error(std::string("GCode ") + axis +
                    "-axis has invalid value. Please correct in settings.");
    }
    return std::string(1, letters[static_cast<std::size_t>(index)]);
}

}  // namespace

std::string get_mapped_X(const FieldSource& fields) {
    return mapped(fields, "GcodeX", 'X');
}
std::string get_mapped_Y(const FieldSource& fields) {
    return mapped(fields, "GCodeY", 'Y');
}
std::string get_mapped_Z(const FieldSource& fields) {
    return mapped(fields, "GCodeZ", 'Z');
}
std::string get_mapped_W(const FieldSource& fields) {
    return mapped(fields, "GCodeW", 'W');
}

}  // namespace ostrivane
