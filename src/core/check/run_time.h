#pragma once
#include <string>

#include "core/check/machine_limits.h"
#include "core/check/program_reader.h"

namespace ostrivane {

// How long the machine needs for the moves of a program, with exact stop: every move starts
// from rest and ends at rest, its speed rising and falling at the acceleration the moved axes
// allow along its direction (a trapezoid, or a triangle when the move is too short to reach its
// top speed). The top speed of a feed move is its F word, of a rapid move (and a G28 return)
// what the axes allow; both never more than the axes and the path allow. Dwells add their time.
// A controller that blends moves is faster, so this is an upper bound.
class RunTimer {
  public:
    RunTimer(const MachineLimits& limits, const MachineSettings& settings);

    // The seconds a move takes (0 for an end or a move of no length).
    double time_of(const ProgramMove& move) const;

  private:
    MachineLimits limits_;
    std::array<int, 4> slot_{};  // the limits' letter slot of each program axis
};

// The duration as h:mm:ss, rounded to the nearest second: 3725.4 s gives 1:02:05.
std::string format_hms(double seconds);

// The time model in a sentence, naming where the limits came from.
std::string time_model_text(const MachineLimits& limits);

}  // namespace ostrivane
