#include <iostream>
#include <memory>
#include <string>

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

Command add_stats_command(CLI::App& tool) {
    auto file = std::make_shared<std::string>();
    CLI::App* command =
        add_command(tool, "stats", "travel, dwell and run time of a G-code program", kHelp);
    const CLI::Option* file_option = command->add_option("FILE", *file);
    return {
        command, [file, file_option] {
            // The same line the window logs after writing a program.
            std::cout << stats_summary(program_stats_of_file(required(file_option, *file, "FILE")))
                      << '\n';
            return 0;
        }};
}

}  // namespace ostrivane::cli
