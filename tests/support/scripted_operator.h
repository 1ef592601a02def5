#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "core/app/operator.h"

namespace ostrivane::test {

// Keeps every message and question a job shows, in order, and answers every question with a
// preset answer (Cancel, or No where only Yes and No are offered, unless a test says otherwise).
// Errors are kept among the messages, in their place, and also by themselves.
class ScriptedOperator final : public Operator {
  public:
    void information(std::string_view message) override { messages.emplace_back(message); }
    void show_error(std::string_view message) override {
        messages.emplace_back(message);
        errors.emplace_back(message);
    }
    bool ask_yes_no(std::string_view question) override {
        messages.emplace_back(question);
        return next_answer() == Answer::Yes;
    }
    Answer ask_yes_no_cancel(std::string_view question) override {
        messages.emplace_back(question);
        return next_answer();
    }

    // The answers to the next questions, in order; `answer` once they are used up.
    std::vector<Answer> answers;
    Answer answer = Answer::Cancel;
    std::vector<std::string> messages;
    std::vector<std::string> errors;

  private:
    Answer next_answer() {
        if (answers.empty())
            return answer;
        const Answer first = answers.front();
        answers.erase(answers.begin());
        return first;
    }
};

}  // namespace ostrivane::test
