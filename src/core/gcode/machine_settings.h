#pragma once
#include <array>

#include "core/app/field_source.h"
#include "core/gcode/axis_mapping.h"

namespace ostrivane {

// The three feedrates of the machine.
enum class Feed { fine_milling, normal, homing };

// What the G-code writer needs to know about the machine, read from the Settings tab once when
// a job starts: the feedrates in mm/min as written after F, and per program axis the G-code
// letter it is written under and whether its distances are negated.
struct MachineSettings {
    std::array<double, 3> feed_per_minute{};  // by Feed
    std::array<char, 4> letter{};             // by Axis; 0 when its selector has no choice
    std::array<bool, 4> inverted{};           // by Axis

    double feed(Feed f) const { return feed_per_minute[static_cast<std::size_t>(f)]; }
    // Throws Error "GCode W-axis has invalid value. Please correct in settings." (X, Y, Z
    // alike) for an axis without a letter.
    char letter_of(Axis axis) const;
    bool inverts(Axis axis) const { return inverted[static_cast<std::size_t>(axis)]; }
};

// Reads and checks the settings every program needs, in the order its first move line would
// meet them: the letters of X, Y and Z, then the normal, fine-milling and homing feedrates (in
// mm/s on the tab). The turning axis's letter is only needed by a move of that axis, so a
// missing one is left to the writer. Throws the field's Error for text that is not a number,
// Error "<text> inside <label> is too large for a feedrate." when mm/min would overflow, and
// the mapping's Error for an axis without a letter.
MachineSettings read_machine_settings(const FieldSource& fields);

}  // namespace ostrivane
