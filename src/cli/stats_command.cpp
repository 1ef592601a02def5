#include <iostream>

#include "cli/commands.h"
#include "core/gcode/program_stats.h"

namespace ostrivane::cli {
namespace {

constexpr const char* kHelp =
    "usage: ostrivane-cli stats FILE.ngc\n"
    "\n"
    "Prints on one line the line count, the feed and rapid travel in mm, the travel of the\n"
    "turning axis (when there is any), the total dwell and an estimated run time of a G-code\n"
    "program. Every move is timed at the F word in force, rapid moves too; the machine moves\n"
    "those faster, so the run time is an upper bound. Arcs (G02, G03) count as feed moves\n"
    "along their chord, which the line notes. The file is read piece by piece, so its size\n"
    "does not matter; a line longer than 65536 characters is refused.\n";

}  // namespace

int stats_command(Arguments args) {
    if (args.take_flag("--help")) {
        std::cout << kHelp;
        return 0;
    }
    const std::string file = args.take("FILE");
    args.expect_end();
    // The same line the window logs after writing a program.
    std::cout << stats_summary(program_stats_of_file(file)) << '\n';
    return 0;
}

}  // namespace ostrivane::cli
