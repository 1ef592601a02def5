#pragma once
#include "cli/command_line.h"

namespace ostrivane::cli {

// Each adds its command to the tool's parser and returns it. The command's run() returns the
// process exit code; errors meant for the operator are thrown as Error (main prints them and
// exits with 1), a wrong command line as UsageError.
Command add_program_command(CLI::App& tool);
Command add_fingerjoint_command(CLI::App& tool);
Command add_tooth_command(CLI::App& tool);
Command add_stats_command(CLI::App& tool);
Command add_spline_command(CLI::App& tool);
Command add_turn_command(CLI::App& tool);
Command add_plan_command(CLI::App& tool);
Command add_check_command(CLI::App& tool);
Command add_solid_command(CLI::App& tool);
Command add_filter_command(CLI::App& tool);

}  // namespace ostrivane::cli
