#pragma once
#include <optional>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "core/app/field_values.h"

namespace ostrivane::cli {

// The options that fill the main window's fields for a job.
struct JobOptions {
    CLI::Option* program_option = nullptr;
    std::string program;
    std::vector<std::string> settings;
};

// Adds --program and --set to `command`, bound to `options`.
void add_job_options(CLI::App& command, JobOptions& options);

// The main window's fields for a job: the defaults, then the state file of --program, then
// every --set NAME=TEXT in order. Throws Error for a file that cannot be read or restored and
// for a bad --set.
FieldValues job_fields(const JobOptions& options);
// The same from a state file (when given) and NAME=TEXT settings.
FieldValues job_fields(const std::optional<std::string>& program_file,
                       const std::vector<std::string>& settings);

// The help lines for the options above.
inline constexpr const char* job_fields_help =
    "  --program FILE    start from a saved program (.gof) or Settings.ini\n"
    "  --set NAME=TEXT   set one main-window field (cut_width=12.5, InvertZ=true, GcodeX=Y)\n";

}  // namespace ostrivane::cli
