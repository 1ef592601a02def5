#pragma once
#include <array>
#include <string>

#include "core/app/field_source.h"

namespace ostrivane {

// The machine's axes as this program names them: X along the work, Y into it, Z up and down,
// W the turning axis. Move lines name them in this order.
enum class Axis { X, Y, Z, W };
inline constexpr std::array<Axis, 4> program_axes = {Axis::X, Axis::Y, Axis::Z, Axis::W};

// 'X', 'Y', 'Z' or 'W'.
char axis_name(Axis axis);

// The G-code letter under which a program axis is written, from its selector on the Settings
// tab (items "X", "Y", "Z", "W"). Read at every line, so a change in the settings applies to the
// next line. Throws Error "GCode X-axis has invalid value. Please correct in settings." (Y, Z, W
// alike) when the selector has nothing selected.
char get_mapped(const FieldSource& fields, Axis axis);
std::string get_mapped_X(const FieldSource& fields);
std::string get_mapped_Y(const FieldSource& fields);
std::string get_mapped_Z(const FieldSource& fields);
std::string get_mapped_W(const FieldSource& fields);

}  // namespace ostrivane
