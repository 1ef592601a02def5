#include <iostream>
#include <memory>

#include "cli/commands.h"
#include "cli/job_fields.h"
#include "cli/output_target.h"
#include "core/app/form_state.h"
#include "core/app/main_window_fields.h"
#include "core/app/state_file.h"
#include "core/text/ascii_text.h"
#include "core/text/error.h"
#include "core/text/file_io.h"

namespace ostrivane::cli {
namespace {

constexpr const char* kHelp =
    "usage: ostrivane-cli program show FILE\n"
    "       ostrivane-cli program save FILE [--program F] [--set NAME=TEXT]...\n"
    "\n"
    "show  prints the state record of a window-state file (.gof, Settings.ini) as its JSON\n"
    "      text on one line; a file that is not one is refused with exit code 1\n"
    "save  writes a main-window state file, byte for byte as the window writes it (FILE -\n"
    "      writes it to standard output)\n"
    "\n";

struct ProgramOptions {
    CLI::App* show = nullptr;
    CLI::App* save = nullptr;
    CLI::Option* action_option = nullptr;
    std::string action;
    CLI::Option* show_file_option = nullptr;
    std::string show_file;
    CLI::Option* save_file_option = nullptr;
    std::string save_file;
    JobOptions job;
};

// A file that is not a state file (a G-code program, random bytes) is refused with the reason
// rather than shown in part.
int show(const std::string& file) {
    const std::string bytes = read_state_file(file);
    std::string json_text;
    std::optional<std::string> error;
    try {
        json_text = decode_state_file(bytes).json_text;
        // An empty file is a valid empty state.
        if (!bytes.empty())
            error = state_text_error(json_text);
    } catch (const Error& e) {
        error = e.what();
    }
    if (error) {
        std::string reason = *error;
        reason.front() = ascii_lower(reason.front());
        throw Error(file + " is not a window-state file: " + reason + ".");
    }
    std::cout << json_text << '\n';
    return 0;
}

int save(const std::string& file, const JobOptions& job) {
    const FieldValues fields = job_fields(job);
    write_output(file, save_form_state(main_window_components(), fields));
    return 0;
}

int run(const ProgramOptions& o) {
    if (o.show->parsed())
        return show(required(o.show_file_option, o.show_file, "FILE"));
    if (o.save->parsed())
        return save(required(o.save_file_option, o.save_file, "FILE"), o.job);
    if (o.action_option->count() > 0)
        throw UsageError{"unknown action: program " + o.action};
    throw UsageError{"missing action (show or save)"};
}

}  // namespace

Command add_program_command(CLI::App& tool) {
    const std::string help = std::string(kHelp) + job_fields_help;
    auto o = std::make_shared<ProgramOptions>();
    CLI::App* program = add_command(tool, "program", "show or save a main-window state file", help);
    o->action_option = program->add_option("action", o->action);
    o->show = add_command(*program, "show", "print a state file as JSON", help);
    o->show_file_option = o->show->add_option("FILE", o->show_file);
    o->save = add_command(*program, "save", "write a main-window state file", help);
    o->save_file_option = o->save->add_option("FILE", o->save_file);
    add_job_options(*o->save, o->job);
    return {program, [o] { return run(*o); }};
}

}  // namespace ostrivane::cli
