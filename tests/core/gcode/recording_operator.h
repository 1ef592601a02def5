#pragma once
#include <string>
#include <vector>

#include "core/app/operator.h"

namespace ostrivane::test {

// Keeps every message a job shows, in order; questions are answered No.
class RecordingOperator final : public Operator {
  public:
    void information(std::string_view message) override { messages.emplace_back(message); }
    bool ask_yes_no(std::string_view question) override {
        messages.emplace_back(question);
        return false;
    }
    Answer ask_yes_no_cancel(std::string_view question) override {
        messages.emplace_back(question);
        return Answer::Cancel;
    }

    std::vector<std::string> messages;
};

}  // namespace ostrivane::test
