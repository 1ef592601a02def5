#include <iostream>

#include "cli/commands.h"
#include "cli/job_fields.h"
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
    "save  writes a main-window state file, byte for byte as the window writes it\n"
    "\n";

// A file that is not a state file (a G-code program, random bytes) is refused with the reason
// rather than shown in part.
int show(Arguments& args) {
    const std::string file = args.take("FILE");
    args.expect_end();
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

int save(Arguments& args) {
    const std::string file = args.take("FILE");
    const FieldValues fields = job_fields(args);
    args.expect_end();
    write_file_atomically(file, save_form_state(main_window_components(), fields));
    return 0;
}

}  // namespace

int program_command(Arguments args) {
    if (args.take_flag("--help")) {
        std::cout << kHelp << job_fields_help;
        return 0;
    }
    const std::string action = args.take("action (show or save)");
    if (action == "show")
        return show(args);
    if (action == "save")
        return save(args);
    throw UsageError{"unknown action: program " + action};
}

}  // namespace ostrivane::cli
