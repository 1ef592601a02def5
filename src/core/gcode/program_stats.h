#pragma once
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace ostrivane {

// What a G-code program asks of the machine: its size, how far it travels, and how long it
// takes at most. X, Y and Z travel counts in mm; W, A, B and C (the turning axis under any of
// its letters) count apart. Moves take the feedrate of the F word in force (mm/min), rapid
// moves too: the machine's rapid rate is faster, so the run time is an upper bound (not
// counting acceleration). G28 returns count as rapid travel to the stored home position.
struct ProgramStats {
    std::size_t lines = 0;
    double feed_mm = 0;                  // G01 travel of X, Y, Z
    double rapid_mm = 0;                 // G00 and G28 travel of X, Y, Z
    double turning = 0;                  // travel of W, A, B, C, in the axis's own units
    double dwell_s = 0;                  // sum of G4 P words
    double run_time_s = 0;               // moves at their F word, plus dwells
    std::size_t moves_without_feed = 0;  // moves before any F word: not in the run time
};

// Reads a program as this program writes them (also incremental or absolute, mm). Throws Error
// naming the line for text that is not a G-code word.
ProgramStats program_stats(std::string_view program);
// The same for a file; throws Error when it cannot be read.
ProgramStats program_stats_of_file(const std::filesystem::path& file);

// One line for the log: "46 lines, feed 86.400 mm, rapid 121.067 mm, dwell 0.00 s, run time at
// most 69.4 s (rapid moves counted at their F word)".
std::string stats_summary(const ProgramStats& stats);

}  // namespace ostrivane
