#pragma once
#include <stdexcept>
#include <string>

namespace ostrivane {

// An error whose message is meant for the operator: the window shows it in a message box,
// the command-line tool prints it and exits non-zero.
class Error : public std::runtime_error {
  public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace ostrivane
