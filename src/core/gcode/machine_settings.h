#pragma once
#include "core/app/field_source.h"
#include "core/gcode/axis_mapping.h"

namespace ostrivane {

// The three feedrates of the machine.
enum class Feed { fine_milling, normal, homing };

// What the G-code writer needs to know about the machine: the feedrates, and per program axis
// the G-code letter it is written under and whether its distances are negated. The writer asks
// at every line, so a setting changed while a job runs applies from the next line on, and a bad
// setting stops the job at the first line that needs it.
class MachineSettings {
  public:
    virtual ~MachineSettings() = default;
    // The feedrate in mm/min, as written after F. Throws Error when the setting is not usable.
    virtual double feed_per_minute(Feed feed) const = 0;
    // 'X', 'Y', 'Z' or 'W'. Throws Error when the axis has no letter.
    virtual char letter(Axis axis) const = 0;
    virtual bool inverted(Axis axis) const = 0;
};

// The settings as the main window's Settings tab holds them: the feed fields in mm/s (checked
// as numbers, each time), the axis selectors and the invert boxes.
class FieldMachineSettings final : public MachineSettings {
  public:
    explicit FieldMachineSettings(const FieldSource& fields) : fields_(fields) {}

    // Throws the field's error for text that is not a number, and Error "<text> inside <label>
    // is too large for a feedrate." when mm/min would overflow.
    double feed_per_minute(Feed feed) const override;
    char letter(Axis axis) const override { return get_mapped(fields_, axis); }
    bool inverted(Axis axis) const override;

  private:
    const FieldSource& fields_;
};

}  // namespace ostrivane
