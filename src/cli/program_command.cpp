#include <iostream>

#include "cli/commands.h"
#include "cli/job_fields.h"
#include "core/app/form_state.h"
#include "core/app/main_window_fields.h"
#include "core/text/error.h"
#include "core/text/file_io.h"

namespace ostrivane::cli {
namespace {

constexpr const char* kHelp =
    "usage: ostrivane-cli program show FILE\n"
    "       ostrivane-cli program save FILE [--program F] [--set NAME=TEXT]...\n"
    "\n"
    "show  prints the state record of a window-state file (.gof, Settings.ini) as its JSON\n"
    "      text on one line\n"
    "save  writes a main-window state file, byte for byte as the window writes it\n"
    "\n";

int show(Arguments& args) {
    const std::string file = args.take("FILE");
    args.expect_end();
    const auto bytes = read_file(file);
    if (!bytes)
        throw Error("Cannot open file " + file);
    std::cout << decode_state_file(*bytes).json_text << '\n';
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
