#pragma once
#include <array>

#include "core/app/field_source.h"
#include "core/gcode/line_sink.h"

namespace ostrivane {

// The machine's moves and commands as G-code lines. All moves are relative (the program
// header selects incremental distances). The axis letters, the inversion and the feedrates are
// read from the fields at every line, and every feed field of the line's row is checked even
// when the other one is used, so a bad setting stops the job at the first line that needs it.
// A line is built completely before it is written: an error writes nothing, except for the
// homing commands, whose first line is already out when the axis letter turns out unset.
class GcodeMotion {
  public:
    GcodeMotion(const FieldSource& fields, LineSink& out) : fields_(fields), out_(out) {}

    // One command by letter (case does not matter):
    //   X, Y, Z, W  a single-axis move of number_of_mm (rapid when fast_move, else feed)
    //   A, B, C     send X, Y or Z home (number_of_mm ignored): a mode/feed line, then G28
    //   D           dwell of number_of_mm milliseconds (nothing for 0 or less)
    //   E           end of program; Q nothing
    // Throws Error for R and for any other letter, and for bad settings.
    void steps(char stepper, double number_of_mm, bool fast_move);

    // One move of the three linear axes at once: X, Y, Z distances.
    void steps_combined(const std::array<double, 3>& number_of_mm, bool fast_move);

  private:
    std::string move_feed_word(bool fast_move) const;
    std::string homing_feed_word(bool fast_move) const;
    std::string distance(double number_of_mm, const char* invert_box) const;
    void home(bool fast_move, std::string (*letter)(const FieldSource&));

    const FieldSource& fields_;
    LineSink& out_;
};

}  // namespace ostrivane
