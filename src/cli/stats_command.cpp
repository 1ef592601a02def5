#include <iostream>
#include <memory>
#include <string>

#include "cli/commands.h"
#include "core/check/machine_limits.h"
#include "core/check/program_stats.h"

namespace ostrivane::cli {
namespace {

constexpr const char* kHelp =
    "usage: ostrivane-cli stats FILE.ngc [--machine LINUXCNC.ini]\n"
    "\n"
    "Prints on one line the line count, the feed and rapid travel in mm, the travel of the\n"
    "turning axis (when there is any), the total dwell and the run time of a G-code program.\n"
    "The run time is the check's: a model of LinuxCNC 2.9's trajectory planner in the path\n"
    "mode the program sets (the start-up mode, blending within 0.0254 mm, until a G61 or G64),\n"
    "with the limits of --machine (default: 25 mm/s and 200 mm/s^2 per axis); the line names\n"
    "the mode and the limits. Arcs (G02, G03) count as feed moves along their chord, which the\n"
    "line notes. The file is read piece by piece, so its size does not matter; a line longer\n"
    "than 65536 characters is refused.\n"
    "\n"
    "  --machine FILE    the LinuxCNC configuration whose [AXIS_*], [JOINT_*], [TRAJ] and\n"
    "                    [EMCMOT] limits time the moves\n";

struct StatsOptions {
    CLI::Option* file_option = nullptr;
    std::string file;
    CLI::Option* machine_option = nullptr;
    std::string machine;
};

}  // namespace

Command add_stats_command(CLI::App& tool) {
    auto o = std::make_shared<StatsOptions>();
    CLI::App* command =
        add_command(tool, "stats", "travel, dwell and run time of a G-code program", kHelp);
    o->file_option = command->add_option("FILE", o->file);
    o->machine_option = command->add_option("--machine", o->machine);
    return {command, [o] {
                MachineLimits limits = default_machine_limits();
                if (const auto machine = given(o->machine_option, o->machine)) {
                    limits = machine_limits_of_file(*machine);
                }
                // The same line the window logs after writing a program.
                std::cout << stats_summary(program_stats_of_file(
                                 required(o->file_option, o->file, "FILE"), limits))
                          << '\n';
                return 0;
            }};
}

}  // namespace ostrivane::cli
