#pragma once
#include <array>
#include <cstddef>
#include <string>

#include "core/gcode/line_sink.h"
#include "core/gcode/machine_settings.h"

namespace ostrivane {

// The machine's moves and commands as G-code lines. All moves are relative (the program
// header selects incremental distances). The axis letters, the inversion and the feedrates are
// asked of the settings at every line, and both feedrates of the line's row are asked for even
// when only one is used, so a bad setting stops the job at the first line that needs it.
// A line is built completely before it is written: an error writes nothing, except for the
// homing commands, whose first line is already out when the axis letter turns out unset.
class GcodeMotion {
  public:
    GcodeMotion(const MachineSettings& settings, LineSink& out) : settings_(settings), out_(out) {}

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
    // The distance texts of a move line by program axis; an empty text is an axis that stays.
    using Distances = std::array<std::string, program_axes.size()>;

    std::string distance(double number_of_mm, Axis axis) const;
    std::string feed_word(Feed fast, Feed slow, bool fast_move) const;
    // G, then the first `axes` program axes each with its letter and distance, then F.
    void move(bool fast_move, std::size_t axes, const Distances& distances);
    void home(bool fast_move, Axis axis);

    const MachineSettings& settings_;
    LineSink& out_;
    std::string line_;  // reused, so a long program does not allocate per line
};

}  // namespace ostrivane
