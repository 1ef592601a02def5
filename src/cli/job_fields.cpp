#include "cli/job_fields.h"

#include "core/app/form_state.h"
#include "core/app/main_window_fields.h"
#include "core/app/state_file.h"
#include "core/text/error.h"

namespace ostrivane::cli {

void add_job_options(CLI::App& command, JobOptions& options) {
    options.program_option = command.add_option("--program", options.program);
    // One NAME=TEXT per --set, so a file name after it stays a file name. The parser takes the
    // next word whatever it is, so an option there means that the value was left out.
    command.add_option("--set", options.settings)
        ->allow_extra_args(false)
        ->check(
            [](const std::string& value) {
                return value.starts_with("--") && value.find('=') == std::string::npos
                           ? "NAME=TEXT is missing: " + value + " is an option"
                           : std::string();
            },
            "NAME=TEXT");
}

FieldValues job_fields(const JobOptions& options) {
    return job_fields(given(options.program_option, options.program), options.settings);
}

FieldValues job_fields(const std::optional<std::string>& program_file,
                       const std::vector<std::string>& settings) {
    FieldValues fields(main_window_components());
    if (const auto& program = program_file) {
        const std::string bytes = read_state_file(*program);
        if (const auto error = restore_form_state(bytes, main_window_components(), fields)) {
            throw Error(*program + ": " + state_diagnostic(main_window_class, *error));
        }
    }
    for (const std::string& setting : settings) {
        const std::size_t eq = setting.find('=');
        if (eq == std::string::npos)
            throw UsageError{"--set takes NAME=TEXT, not " + setting};
        fields.assign(setting.substr(0, eq), setting.substr(eq + 1));
    }
    return fields;
}

}  // namespace ostrivane::cli
