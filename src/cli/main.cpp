#include <iostream>
#include <string_view>

#include "cli/commands.h"
#include "core/app/version.h"
#include "core/text/error.h"

namespace {

using ostrivane::cli::Arguments;

struct Command {
    std::string_view name;
    int (*run)(Arguments);
    std::string_view summary;
};

constexpr Command kCommands[] = {
    {"program", ostrivane::cli::program_command, "show or save a main-window state file"},
    {"fingerjoint", ostrivane::cli::fingerjoint_command, "write the finger-joint G-code program"},
    {"tooth", ostrivane::cli::tooth_command, "write the finger-joint tooth file (.tnd)"},
    {"stats", ostrivane::cli::stats_command, "travel, dwell and run time of a G-code program"},
    {"spline", ostrivane::cli::spline_command, "show a spline file or import a point list"},
    {"turn", ostrivane::cli::turn_command, "write the turning program of a profile (F7)"},
    {"check", ostrivane::cli::check_command,
     "what a G-code program cuts against its design, and its run time"},
    {"plan", ostrivane::cli::plan_command, "the saw plan of a profile: planks, template, pages"},
};

void print_help() {
    std::cout << "usage: ostrivane-cli COMMAND [ARGS]...\n"
                 "Runs Ostrivane's jobs without a window.\n\ncommands:\n";
    for (const Command& c : kCommands) {
        std::cout << "  " << c.name << std::string(14 - c.name.size(), ' ') << c.summary << '\n';
    }
    std::cout << "\nEach command explains itself with --help. Other options:\n"
                 "  --help        this text\n  --version     the program's version\n";
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty() || words.front() == "--help" || words.front() == "-h") {
        print_help();
        return words.empty() ? 2 : 0;
    }
    if (words.front() == "--version") {
        std::cout << "ostrivane-cli " << ostrivane::program_version << '\n';
        return 0;
    }
    const std::string name = words.front();
    words.erase(words.begin());
    for (const Command& c : kCommands) {
        if (c.name != name)
            continue;
        try {
            return c.run(Arguments(std::move(words)));
        } catch (const ostrivane::cli::UsageError& e) {
            std::cerr << "ostrivane-cli " << name << ": " << e.message << " (see ostrivane-cli "
                      << name << " --help)\n";
            return 2;
        } catch (const ostrivane::Error& e) {
            std::cerr << e.what() << '\n';
            return 1;
        } catch (const std::exception& e) {
            std::cerr << e.what() << '\n';
            return 1;
        }
    }
    std::cerr << "ostrivane-cli: unknown command " << name << " (see ostrivane-cli --help)\n";
    return 2;
}
