#pragma once
#include <array>
#include <string>
#include <string_view>

#include "core/gcode/machine_settings.h"

namespace ostrivane {

// How fast the machine may move: per G-code letter X, Y, Z, W the top speed (mm/s) and
// acceleration (mm/s^2), and the top speed along the path of the linear axes.
struct MachineLimits {
    std::array<double, 4> max_velocity{};      // by letter X, Y, Z, W
    std::array<double, 4> max_acceleration{};  // by letter X, Y, Z, W
    double max_linear_velocity = 0;            // 0: no limit beside the axes'
    // Where the figures came from, as the output names them.
    std::string source;
};

// Used for every axis the machine file does not describe, and when there is none: a slow,
// cautious hobby machine, so that the estimate stays an upper bound.
inline constexpr double kDefaultMaxVelocity = 25;       // mm/s (1500 mm/min)
inline constexpr double kDefaultMaxAcceleration = 200;  // mm/s^2

MachineLimits default_machine_limits();

// The limits of a LinuxCNC configuration (.ini) text: [AXIS_<L>] and [JOINT_<n>] MAX_VELOCITY
// and MAX_ACCELERATION (a joint counts for the letter at its place in [TRAJ] COORDINATES, or
// [KINS] / the XYZ order without it; where both give a figure the lower one holds) and [TRAJ]
// MAX_LINEAR_VELOCITY; [TRAJ] LINEAR_UNITS inch is converted to mm. Axes it leaves open get the
// defaults. Throws Error naming the line for a figure that is no positive number.
MachineLimits read_linuxcnc_limits(std::string_view ini, std::string source);

// "X 25 mm/s 200 mm/s^2, Y ..." for the output.
std::string describe_limits(const MachineLimits& limits);

}  // namespace ostrivane
