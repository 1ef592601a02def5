#pragma once
#include <string>
#include <vector>

#include "core/app/operator.h"

namespace ostrivane::test {

// Answers every question with a preset answer and keeps every message shown.
class ScriptedOperator final : public Operator {
  public:
    void information(std::string_view message) override { messages.emplace_back(message); }
    bool ask_yes_no(std::string_view question) override {
        messages.emplace_back(question);
        return answer == Answer::Yes;
    }
    Answer ask_yes_no_cancel(std::string_view question) override {
        messages.emplace_back(question);
        return answer;
    }

    Answer answer = Answer::Yes;
    std::vector<std::string> messages;
};

}  // namespace ostrivane::test
