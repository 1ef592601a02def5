#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/gcode/machine_settings.h"

namespace ostrivane {

// The G-code letters a LinuxCNC machine may have, in the order its limits are kept.
inline constexpr std::string_view kMachineLetters = "XYZABCUVW";
inline constexpr std::size_t kMachineAxes = kMachineLetters.size();

// The place of `letter` (upper or lower case) in kMachineLetters; kMachineAxes for none.
std::size_t machine_axis_of(char letter);

// How fast the machine may move: per G-code letter (kMachineLetters) the top speed and
// acceleration in the axis's units (mm or degrees) per second and second squared, the top speed
// along the path of the linear axes, and the period of the motion controller's servo loop.
struct MachineLimits {
    std::array<double, kMachineAxes> max_velocity{};
    std::array<double, kMachineAxes> max_acceleration{};
    double max_linear_velocity = 0;  // 0: no limit beside the axes'
    double servo_period_s = 0.001;
    // Where the figures came from, as the output names them.
    std::string source;
    // Whether the figures are the defaults, for no machine file was given.
    bool defaults = true;

    // The figures of a letter; the defaults for one that is no machine letter.
    double velocity_of(char letter) const;
    double acceleration_of(char letter) const;
};

// Used for every axis the machine file does not describe, and when there is none: a slow,
// cautious hobby machine.
inline constexpr double kDefaultMaxVelocity = 25;       // mm/s (1500 mm/min)
inline constexpr double kDefaultMaxAcceleration = 200;  // mm/s^2

// The range a speed or acceleration figure of a machine file must lie in: beyond it the figure
// is a slip of the pen, and the times computed from it would be nonsense.
inline constexpr double kLeastMachineFigure = 1e-3;
inline constexpr double kMostMachineFigure = 1e7;

MachineLimits default_machine_limits();

// The limits of a LinuxCNC configuration (.ini) text: [AXIS_<L>] and [JOINT_<n>] MAX_VELOCITY
// and MAX_ACCELERATION for the letters X Y Z A B C U V W (a joint counts for the letter at its
// place in [TRAJ] COORDINATES, or [KINS] / the XYZ order without it; where both give a figure
// the lower one holds), [TRAJ] MAX_LINEAR_VELOCITY and [EMCMOT] SERVO_PERIOD; [TRAJ]
// LINEAR_UNITS inch is converted to mm on the linear axes. Axes it leaves open get the
// defaults. Throws Error naming the line for a figure that is no number in the range above, a
// section header without its "]", and an #INCLUDE (whose figures would be missed); the
// message quotes at most a short, printable start of the offending text.
MachineLimits read_linuxcnc_limits(std::string_view ini, std::string source);

// The largest machine configuration read: LinuxCNC's are a few kilobytes.
inline constexpr std::uint64_t kMostMachineFileBytes = std::uint64_t{4} << 20;

// The limits of a LinuxCNC configuration file, named by its file name in what they report.
// Throws Error naming the file for one that cannot be read or is longer than the most, and as
// read_linuxcnc_limits for its content.
MachineLimits machine_limits_of_file(const std::filesystem::path& file);

// "X 25 mm/s 200 mm/s^2, Y ..." for the output: the axes `letters` names (the letters a
// program's axes are written under), and the path limit.
std::string describe_limits(const MachineLimits& limits, std::string_view letters = "XYZ");

}  // namespace ostrivane
