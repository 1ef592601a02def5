#pragma once
#include <string>
#include <utility>

#include "core/text/error.h"

namespace ostrivane::test {

// The message of the Error that `action` throws, or "(no error)" when it throws none, so that a
// check of the message also fails when nothing was refused.
template <typename Action>
std::string error_of(Action&& action) {
    try {
        std::forward<Action>(action)();
    } catch (const Error& e) {
        return e.what();
    }
    return "(no error)";
}

}  // namespace ostrivane::test
