#pragma once

namespace ostrivane {

// How a step of a calculation ended. A failed step has told the operator why; the steps after
// it do not run.
enum class [[nodiscard]] Outcome : bool{done = false, failed = true};

inline bool failed(Outcome outcome) {
    return outcome == Outcome::failed;
}

}  // namespace ostrivane
