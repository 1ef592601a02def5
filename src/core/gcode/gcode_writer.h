#pragma once
#include <array>
#include <string>

#include "core/gcode/line_sink.h"
#include "core/gcode/machine_settings.h"
#include "core/gcode/move.h"

namespace ostrivane {

// The moves of a job as G-code lines. All moves are relative (the program header selects
// incremental distances); the machine settings were read when the job started, so a line is
// never held up by them. A line is built completely before it is written: an error (a distance
// that is not a finite number, a turning axis without a letter) writes nothing of it.
//
// Lines: a rapid or feed move names X, Y and Z always and W only when it moves, each with its
// letter and distance ("0.0" for one that stays), then the feed word; a home is a mode/feed line
// and "G28 <letter>0.0"; a dwell "G4 P<seconds>" (nothing for 0 or less); "G28"; "M2".
class GcodeWriter final : public MoveSink {
  public:
    // Throws Error when X, Y or Z has no letter.
    GcodeWriter(const MachineSettings& settings, LineSink& out);

    void move(const Move& move) override;

    // The one-letter commands (see move_of_letter) and the three-axis move, as lines.
    void steps(char stepper, double number_of_mm, bool fast_move);
    void steps_combined(const std::array<double, 3>& number_of_mm, bool fast_move);

    // Where the moves written so far have taken the machine, per program axis, from where it
    // stood at the start (homing sets an axis back to 0).
    const std::array<double, 4>& position() const { return position_; }

  private:
    void linear(const Move& move);
    // The position after a rapid or feed move.
    void advance(const Move& move);
    void home(const Move& move);
    void dwell(double milliseconds);

    // The last few lines written, by their move: programs repeat the same moves over and over,
    // and a line made once is made. A finger joint cycles through six different lines, so the
    // table holds more than that: a cycle one longer than the table would never find its line.
    struct MadeLine {
        unsigned key = ~0u;  // of the move's kind and axes; none at first
        std::array<double, 4> distance{};
        std::string line;
    };
    const std::string* made_line(const Move& move) const;
    // Keeps line_ as the line of `move` (line_ then holds an older line to reuse).
    const std::string& remember(const Move& move);

    MachineSettings settings_;
    std::array<MadeLine, 8> made_{};
    std::size_t next_made_ = 0;
    LineSink& out_;
    // The feed words, made once: of a rapid and a feed move, of a home's rapid and feed line.
    std::string rapid_feed_, feed_feed_, home_rapid_feed_, home_feed_feed_;
    std::array<double, 4> position_{};
    std::string line_;  // reused, so a long program does not allocate per line
};

}  // namespace ostrivane
