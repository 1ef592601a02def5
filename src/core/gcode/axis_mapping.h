#pragma once
#include <string>

#include "core/app/field_source.h"

namespace ostrivane {

// The G-code letter under which each of the program's axes is written, from the selectors of
// the Settings tab (items "X", "Y", "Z", "W"). Read at every line, so a change in the settings
// applies to the next line. Throws Error "GCode X-axis has invalid value. Please correct in
// settings." (Y, Z, W alike) when the selector has nothing selected.
std::string get_mapped_X(const FieldSource& fields);
std::string get_mapped_Y(const FieldSource& fields);
std::string get_mapped_Z(const FieldSource& fields);
std::string get_mapped_W(const FieldSource& fields);

}  // namespace ostrivane
