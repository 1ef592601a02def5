#include <iostream>

#include "cli/commands.h"
#include "core/gcode/program_stats.h"
#include "core/text/number_format.h"

namespace ostrivane::cli {
namespace {

constexpr const char* kHelp =
    "usage: ostrivane-cli stats FILE.ngc\n"
    "\n"
    "Prints the line count, the feed and rapid travel in mm, the total dwell and an estimated\n"
    "run time of a G-code program. Every move is timed at the F word in force, rapid moves\n"
    "too; the machine moves those faster, so the run time is an upper bound.\n";

}  // namespace

int stats_command(Arguments args) {
    if (args.take_flag("--help")) {
        std::cout << kHelp;
        return 0;
    }
    const std::string file = args.take("FILE");
    args.expect_end();
    const ProgramStats s = program_stats_of_file(file);
    std::cout << "lines: " << s.lines << '\n'
              << "feed travel: " << format_fixed(s.feed_mm, 3) << " mm\n"
              << "rapid travel: " << format_fixed(s.rapid_mm, 3) << " mm\n";
    if (s.turning > 0)
        std::cout << "turning axis travel: " << format_fixed(s.turning, 3) << '\n';
    std::cout << "dwell: " << format_fixed(s.dwell_s, 2) << " s\n"
              << "estimated run time: at most " << format_fixed(s.run_time_s, 1)
              << " s (every move at its F word, rapid moves too, which bounds the time from"
                 " above)\n";
    if (s.moves_without_feed > 0) {
        std::cout << "moves without a feedrate (not timed): " << s.moves_without_feed << '\n';
    }
    return 0;
}

}  // namespace ostrivane::cli
