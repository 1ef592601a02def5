#pragma once
#include <optional>

#include "core/app/operator.h"

namespace ostrivane::cli {

// Messages go to standard error. A question is answered with the answer given at construction;
// without one it counts as refused (No, or Cancel where that is offered), so nothing is
// overwritten behind the user's back. The answer is printed after the question.
class CliOperator final : public Operator {
  public:
    explicit CliOperator(std::optional<bool> answer = std::nullopt) : answer_(answer) {}
    void information(std::string_view message) override;
    bool ask_yes_no(std::string_view question) override;
    Answer ask_yes_no_cancel(std::string_view question) override;

  private:
    std::optional<bool> answer_;
};

}  // namespace ostrivane::cli
