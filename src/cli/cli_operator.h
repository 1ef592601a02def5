#pragma once
#include <optional>

#include "cli/output_target.h"
#include "core/app/operator.h"

namespace ostrivane::cli {

// Messages go to standard error. A question is answered with the answer given at construction;
// without one it counts as refused (No, or Cancel where that is offered), so nothing is
// overwritten behind the user's back. The answer is printed after the question. With an output
// target, messages name the file as the target shows it.
class CliOperator final : public Operator {
  public:
    explicit CliOperator(std::optional<bool> answer = std::nullopt,
                         const OutputTarget* target = nullptr)
        : answer_(answer), target_(target) {}
    void information(std::string_view message) override;
    bool ask_yes_no(std::string_view question) override;
    Answer ask_yes_no_cancel(std::string_view question) override;

  private:
    std::string shown(std::string_view message) const;

    std::optional<bool> answer_;
    const OutputTarget* target_;
};

}  // namespace ostrivane::cli
