#pragma once
#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

#include "core/gcode/gcode_words.h"
#include "core/gcode/machine_settings.h"
#include "core/gcode/move.h"

namespace ostrivane {

// How the controller joins one move to the next, as the program last set it.
enum class PathMode : std::uint8_t {
    startup,     // none set yet: LinuxCNC starts out blending within a small deviation
    exact_stop,  // G61, G61.1: every move ends at rest
    blend,       // G64: blending, within `tolerance` when a P word gave one
};

// One motion (or pause) of a program as the machine carries it out, in the program's own axes.
struct ProgramMove {
    // rapid, feed, dwell or end; a G28 return is `home` (one axis or several named on the line)
    // or `home_all` (a bare G28), with the travel that takes the named axes to the stored home.
    Move move;
    double feed_per_minute = 0;  // the F word in force (mm/min); 0 before the first one
    std::size_t line = 0;        // from 1
    PathMode path = PathMode::startup;
    double tolerance = 0;  // G64 P, mm; 0 for none
    bool arc = false;      // an arc (G2, G3) read as the straight move along its chord
};

// What the reader accepts beyond the programs this program writes.
struct ReadingRules {
    // Every word understood, or the program refused naming the line: a program that cannot be
    // followed exactly cannot be checked. Without it (the summary of any program), a comment
    // without its ")" and a "%" end the line, arcs are read along their chords, G and M words
    // that do not move the machine are passed over, letters no axis is written under are
    // ignored, and the turning axis is read under any of W, A, B and C that no other axis uses.
    bool strict = true;
};

// The largest axis word, feedrate and dwell a program may hold, and the farthest a linear axis
// may travel from where it started: far beyond any woodworking machine, so that a figure past
// them is a slip, refused before it turns every time and cut into nonsense.
inline constexpr double kMostProgramLength = 1e6;    // mm or degrees
inline constexpr double kMostFeedPerMinute = 1e7;    // mm/min
inline constexpr double kLeastFeedPerMinute = 1e-3;  // mm/min, for a feedrate that is not 0
inline constexpr double kMostDwellSeconds = 1e6;

// Reads G-code programs as this program writes them, and as an operator may have edited them,
// back into moves of the program axes X, Y, Z and W: the letters and inversions of the machine
// settings are undone, so a program written with another mapping reads back correctly. When
// two program axes share a letter, the words of that letter on a line go to them in axis order
// (X, Y, Z, W), as the writer puts them there. The program ends at M2 or M30: lines after it
// are counted, not read.
//
// Understood: G0 G1 G4 G17 G21 G20 G28 G28.1 G40 G43 G49 G54 G61 G61.1 G64 G80 G90 G91 G94,
// M0 M1 M2 M3 M4 M5 M6 M30, F S T H N P, comments in brackets or after ';', '%' lines; G2 and
// G3 only without `strict`. A G or M number that is none of these (G-1.2, G1e308) is an
// unknown word.
class ProgramReader {
  public:
    explicit ProgramReader(const MachineSettings& settings, ReadingRules rules = {});

    // Reads the next line (without its line end) and appends the moves it makes to `out`. A
    // dwell is a move even when it lasts 0 s: the controller stops before it all the same.
    void read_line(std::string_view line, std::vector<ProgramMove>& out);

    std::size_t lines() const { return lines_; }
    bool ended() const { return ended_; }
    // The letter each program axis is read under (without `strict`, the turning axis takes
    // the letter of its first word).
    const std::array<char, 4>& letters() const { return letters_; }
    // Whether the header, before the first move, set incremental distances (G91) ahead of
    // storing the home position (G28.1), as the finger-joint header does and the turning
    // header does not; nullopt when it did not do both.
    std::optional<bool> incremental_before_home() const { return incremental_before_home_; }
    // Whether the program asked for exact stop (G61) before its first move.
    bool exact_stop_header() const { return exact_stop_header_; }
    // Where the moves so far have taken the machine, per program axis, from where it stood
    // when the program started.
    const std::array<double, 4>& position() const { return position_; }

  private:
    using Word = GcodeWord;
    void read_words(std::string_view line);
    [[noreturn]] void refuse(std::string_view what, std::string_view line) const;
    void run_line(std::string_view line, std::vector<ProgramMove>& out);
    void add_move(Move move, std::vector<ProgramMove>& out, std::string_view line);
    bool take_g(int tenths, std::string_view line);
    bool take_axis_word(const Word& w, std::array<double, 4>& value, AxisSet& named,
                        std::array<int, 4>& used_of_letter, std::string_view line);

    MachineSettings settings_;
    ReadingRules rules_;
    std::array<char, 4> letters_{};
    std::size_t lines_ = 0;
    bool relative_ = false;
    int motion_ = 0;  // 0 rapid, 1 feed, 2 and 3 arcs
    bool moved_ = false;
    bool ended_ = false;
    bool exact_stop_header_ = false;
    bool turning_letter_fixed_ = false;
    std::optional<bool> incremental_before_home_;
    bool incremental_seen_ = false;
    bool home_stored_ = false;
    PathMode path_ = PathMode::startup;
    double tolerance_ = 0;
    double units_ = 1;  // mm per program unit (G20: 25.4)
    double feed_ = 0;
    std::array<double, 4> position_{};
    std::array<double, 4> stored_home_{};
    std::vector<Word> words_;
    // Per line: what its G words asked for.
    bool dwell_ = false, home_ = false, set_home_ = false, path_word_ = false;
};

}  // namespace ostrivane
