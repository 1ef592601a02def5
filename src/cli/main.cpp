#include <algorithm>
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "core/app/version.h"
#include "core/text/error.h"
#ifdef OSTRIVANE_DRAWING_TOOL
#include "cli/drawing_tool.h"
#endif

namespace {

using ostrivane::cli::Command;

constexpr const char* kHelpHead =
    "usage: ostrivane-cli COMMAND [ARGS]...\n"
    "Runs Ostrivane's jobs without a window.\n\ncommands:\n";
constexpr const char* kHelpTail =
    "\nEach command explains itself with --help (or -h). Options and file names go in any\n"
    "order; after -- every word is a file name. Other options:\n"
    "  --help        this text\n  --version     the program's version\n";

std::string tool_help(const std::vector<Command>& commands) {
    std::string text = kHelpHead;
    for (const Command& c : commands) {
        const std::string& name = c.app->get_name();
        text += "  " + name + std::string(14 - name.size(), ' ') + c.app->get_description() + '\n';
    }
    return text + kHelpTail;
}

// The command the words went to, and within it the action, as far as they were read.
const CLI::App* deepest(const CLI::App& app) {
    const CLI::App* at = &app;
    while (!at->get_subcommands().empty())
        at = at->get_subcommands().front();
    return at;
}

// The name of the command the words went to, for messages; empty for the tool itself.
std::string command_name(const CLI::App& tool) {
    const auto chosen = tool.get_subcommands();
    return chosen.empty() ? std::string() : chosen.front()->get_name();
}

int usage_error(const std::string& command, const std::string& message) {
    if (command.empty()) {
        std::cerr << "ostrivane-cli: " << message << " (see ostrivane-cli --help)\n";
    } else {
        std::cerr << "ostrivane-cli " << command << ": " << message << " (see ostrivane-cli "
                  << command << " --help)\n";
    }
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    // A reader that stops early (`| head`) closes the pipe: writing then fails with EPIPE, which
    // the writers take as the end of the output, instead of the process dying of SIGPIPE.
    std::signal(SIGPIPE, SIG_IGN);
    CLI::App tool("Runs Ostrivane's jobs without a window.", "ostrivane-cli");
    std::vector<Command> commands = {
        ostrivane::cli::add_program_command(tool), ostrivane::cli::add_fingerjoint_command(tool),
        ostrivane::cli::add_tooth_command(tool),   ostrivane::cli::add_stats_command(tool),
        ostrivane::cli::add_spline_command(tool),  ostrivane::cli::add_turn_command(tool),
        ostrivane::cli::add_check_command(tool),   ostrivane::cli::add_plan_command(tool),
        ostrivane::cli::add_solid_command(tool),   ostrivane::cli::add_filter_command(tool),
    };
    bool version = false;
    tool.add_flag("--version", version);

    if (argc < 2) {
        std::cout << tool_help(commands);
        return 2;
    }
    // A word that names no command is most likely a misspelt one.
    const std::string first = argv[1];
    if (!first.starts_with("-") &&
        std::none_of(commands.begin(), commands.end(),
                     [&first](const Command& c) { return c.app->get_name() == first; })) {
        return usage_error("", "unknown command " + first);
    }

    try {
        tool.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        const CLI::App* asked = deepest(tool);
        std::cout << (asked == &tool ? tool_help(commands) : asked->help());
        return 0;
    } catch (const CLI::ParseError& e) {
        return usage_error(command_name(tool), e.what());
    }
    if (version) {
        std::cout << "ostrivane-cli " << ostrivane::program_version << '\n';
        return 0;
    }
#ifdef OSTRIVANE_DRAWING_TOOL
    if (ostrivane::cli::wants_drawing(tool)) {
        try {
            ostrivane::cli::run_drawing_tool(argv);
        } catch (const std::exception& e) {
            std::cerr << e.what() << '\n';
            return 1;
        }
    }
#endif
    const std::string name = command_name(tool);
    for (const Command& c : commands) {
        if (!c.app->parsed())
            continue;
        try {
            return c.run();
        } catch (const ostrivane::cli::UsageError& e) {
            return usage_error(name, e.message);
        } catch (const std::exception& e) {
            std::cerr << e.what() << '\n';
            return 1;
        }
    }
    std::cout << tool_help(commands);
    return 2;
}
