#pragma once
#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

#include "core/gcode/gcode_words.h"
#include "core/gcode/machine_settings.h"
#include "core/gcode/move.h"

namespace ostrivane {

// One motion (or pause) of a program as the machine carries it out, in the program's own axes.
struct ProgramMove {
    // rapid, feed, dwell or end; a G28 return is `home` (one axis or several named on the line)
    // or `home_all` (a bare G28), with the travel that takes the named axes to the stored home.
    Move move;
    double feed_per_minute = 0;  // the F word in force (mm/min); 0 before the first one
    std::size_t line = 0;        // from 1
};

// Reads G-code programs as this program writes them, and as an operator may have edited them,
// back into moves of the program axes X, Y, Z and W: the letters and inversions of the machine
// settings are undone, so a program written with another mapping reads back correctly. When
// two program axes share a letter, the words of that letter on a line go to them in axis order
// (X, Y, Z, W), as the writer puts them there.
//
// Understood: G0 G1 G4 G17 G21 G20 G28 G28.1 G40 G43 G49 G54 G61 G61.1 G64 G80 G90 G91 G94,
// M0 M1 M2 M3 M4 M5 M6 M30, F S T H N P, comments in brackets or after ';', '%' lines. Anything
// else, arcs (G2, G3) among them, is refused with an Error naming the line: a program that
// cannot be followed exactly cannot be checked.
class ProgramReader {
  public:
    explicit ProgramReader(const MachineSettings& settings);

    // Reads the next line (without its line end) and appends the moves it makes to `out`.
    void read_line(std::string_view line, std::vector<ProgramMove>& out);

    std::size_t lines() const { return lines_; }
    // Whether the program asked for exact-stop path mode (G61) before its first move: the
    // finger-joint header does, the turning header does not.
    bool exact_stop_header() const { return exact_stop_header_; }
    // Where the moves so far have taken the machine, per program axis, from where it stood
    // when the program started.
    const std::array<double, 4>& position() const { return position_; }

  private:
    using Word = GcodeWord;
    void read_words(std::string_view line);
    [[noreturn]] void refuse(std::string_view what, std::string_view line) const;
    void run_line(std::string_view line, std::vector<ProgramMove>& out);
    void add_move(Move move, std::vector<ProgramMove>& out);

    MachineSettings settings_;
    std::size_t lines_ = 0;
    bool relative_ = false;
    bool feed_mode_ = false;  // G1 in force, else G0
    bool moved_ = false;
    bool exact_stop_header_ = false;
    double units_ = 1;  // mm per program unit (G20: 25.4)
    double feed_ = 0;
    std::array<double, 4> position_{};
    std::array<double, 4> stored_home_{};
    std::vector<Word> words_;
};

}  // namespace ostrivane
