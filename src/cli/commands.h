#pragma once
#include "cli/arguments.h"

namespace ostrivane::cli {

// Each command takes the arguments after its name and returns the process exit code.
// Errors meant for the operator are thrown as Error; main prints them and exits with 1.
int program_command(Arguments args);
int fingerjoint_command(Arguments args);
int tooth_command(Arguments args);
int stats_command(Arguments args);
int spline_command(Arguments args);
int turn_command(Arguments args);
int plan_command(Arguments args);
int check_command(Arguments args);

}  // namespace ostrivane::cli
