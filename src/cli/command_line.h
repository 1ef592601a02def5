#pragma once
#include <CLI/CLI.hpp>
#include <functional>
#include <optional>
#include <string>

namespace ostrivane::cli {

// A wrong command line: printed with a hint to --help, exit code 2.
struct UsageError {
    std::string message;
};

// A command of the tool: its parser, and what it does once its words were parsed.
struct Command {
    CLI::App* app = nullptr;
    std::function<int()> run;
};

// Adds the subcommand `name` to `parent`. Its -h/--help prints `help` as it is written, so the
// texts stay the ones the manual pages are checked against.
CLI::App* add_command(CLI::App& parent, const std::string& name, const std::string& summary,
                      std::string help);

// The value of an option taking one value, when it was given.
std::optional<std::string> given(const CLI::Option* option, const std::string& value);

// The value of a word the command cannot do without; throws UsageError naming `what` when it
// was not given.
const std::string& required(const CLI::Option* option, const std::string& value,
                            const std::string& what);

}  // namespace ostrivane::cli
