#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/check/machine_limits.h"
#include "core/check/program_reader.h"
#include "core/check/run_time.h"
#include "core/gcode/line_sink.h"

namespace ostrivane {

// What a G-code program asks of the machine: its size, how far it travels, and how long it
// takes. X, Y and Z travel counts in mm; the turning axis (under W, A, B or C) counts apart.
// The program is read by the check's reader without its strictness (ReadingRules) and timed by
// the check's model of LinuxCNC's planner (RunTimeModel), so the two give the same run time.
// Arcs (G02, G03) count as feed moves along their chord, which is shorter than the arc.
struct ProgramStats {
    std::size_t lines = 0;
    double feed_mm = 0;                  // G01, G02 and G03 travel of X, Y, Z
    double rapid_mm = 0;                 // G00 and G28 travel of X, Y, Z
    double turning = 0;                  // travel of the turning axis, in its own units
    double dwell_s = 0;                  // sum of G4 P words
    double run_time_s = 0;               // the planner model's, dwells included
    std::size_t moves_without_feed = 0;  // feed moves before any F word: not in the run time
    std::size_t arcs = 0;                // G02 and G03 moves, counted by their chord
    std::string time_model;              // the model and the limits, in a few words
};

// Reads a program line by line, as it is written or read, in constant memory: a program of
// any length as this program writes them (also incremental or absolute, mm).
class ProgramStatsCounter {
  public:
    explicit ProgramStatsCounter(const MachineLimits& limits = default_machine_limits());
    // One line without its line end. Throws Error naming the line for text that is not a
    // G-code word.
    void add_line(std::string_view line);
    // The counts so far, as if the program ended here.
    ProgramStats stats() const;

  private:
    MachineLimits limits_;
    ProgramReader reader_;
    RunTimeModel timer_;
    ProgramStats stats_;
    std::vector<ProgramMove> moves_;  // of the current line, kept to reuse its memory
};

// Counts the lines written to it, so that a program's summary is ready when its last line is
// written, without reading the file back. A line it cannot read stops the counting; summary()
// then throws that error.
class ProgramStatsSink final : public LineSink {
  public:
    void write_line(std::string_view line) override;
    // The summary line of what was written (see stats_summary).
    std::string summary() const;
    const ProgramStatsCounter& counter() const { return counter_; }

  private:
    ProgramStatsCounter counter_;
    std::optional<std::string> error_;
};

// The longest line a program may have: far beyond any controller's, so that an endless file
// such as a device is refused instead of read into memory.
inline constexpr std::size_t max_program_line = 65536;

// The most bytes a program file may have for its counts: 4 GiB, well above the largest program
// this program writes (a finger joint at its limit of passes, some 1.5 GB). Anything longer is
// refused by its size before it is read.
inline constexpr std::uint64_t max_program_file_size = std::uint64_t{4} << 30;

// The counts of a whole program text. Throws Error naming the line for text that is not G-code.
ProgramStats program_stats(std::string_view program,
                           const MachineLimits& limits = default_machine_limits());
// The same for a file, read piece by piece in constant memory. Throws Error naming the file
// when it is not a regular file, is longer than max_program_file_size, cannot be read or has a
// line longer than max_program_line.
ProgramStats program_stats_of_file(const std::filesystem::path& file,
                                   const MachineLimits& limits = default_machine_limits());

// One line for people: "46 lines, feed 105.600 mm, rapid 140.000 mm, dwell 0:00:00, run time
// 0:00:33 (LinuxCNC planner model, exact stop G61; default limits)", durations as h:mm:ss. A
// program with arcs says that they are counted by their chord.
std::string stats_summary(const ProgramStats& stats);

}  // namespace ostrivane
