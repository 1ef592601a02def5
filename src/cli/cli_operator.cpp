#include "cli/cli_operator.h"

#include <iostream>

namespace ostrivane::cli {

std::string CliOperator::shown(std::string_view message) const {
    return target_ != nullptr ? target_->shown(message) : std::string(message);
}

void CliOperator::information(std::string_view message) {
    std::cerr << shown(message) << '\n';
}

bool CliOperator::ask_yes_no(std::string_view question) {
    const bool yes = answer_.value_or(false);
    std::cerr << shown(question) << ' ' << (yes ? "Yes" : "No") << '\n';
    return yes;
}

Operator::Answer CliOperator::ask_yes_no_cancel(std::string_view question) {
    if (!answer_) {
        std::cerr << shown(question) << " Cancel\n";
        return Answer::Cancel;
    }
    return ask_yes_no(question) ? Answer::Yes : Answer::No;
}

}  // namespace ostrivane::cli
