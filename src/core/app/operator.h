#pragma once
#include <string_view>

namespace ostrivane {

// Everything modal that a job asks of the person at the machine. The window shows message
// boxes; the command-line tool prints to standard error and answers from its flags; tests
// script the answers.
class Operator {
  public:
    enum class Answer { Yes, No, Cancel };

    virtual ~Operator() = default;
    virtual void information(std::string_view message) = 0;
    // An error that ended an action; shown like any message unless the host marks errors.
    virtual void show_error(std::string_view message) { information(message); }
    virtual bool ask_yes_no(std::string_view question) = 0;
    virtual Answer ask_yes_no_cancel(std::string_view question) = 0;
};

}  // namespace ostrivane
