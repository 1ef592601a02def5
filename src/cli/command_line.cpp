#include "cli/command_line.h"

#include <memory>

namespace ostrivane::cli {
namespace {

// Help written by hand: it explains the job, which a generated option list cannot.
class WrittenHelp final : public CLI::FormatterBase {
  public:
    explicit WrittenHelp(std::string text) : text_(std::move(text)) {}
    std::string make_help(const CLI::App*, std::string, CLI::AppFormatMode) const override {
        return text_;
    }

  private:
    std::string text_;
};

}  // namespace

CLI::App* add_command(CLI::App& parent, const std::string& name, const std::string& summary,
                      std::string help) {
    CLI::App* command = parent.add_subcommand(name, summary);
    command->formatter(std::make_shared<WrittenHelp>(std::move(help)));
    command->set_help_flag("-h,--help");
    return command;
}

std::optional<std::string> given(const CLI::Option* option, const std::string& value) {
    if (option->count() == 0)
        return std::nullopt;
    return value;
}

const std::string& required(const CLI::Option* option, const std::string& value,
                            const std::string& what) {
    if (option->count() == 0)
        throw UsageError{"missing " + what};
    return value;
}

}  // namespace ostrivane::cli
