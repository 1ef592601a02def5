#pragma once
#include <optional>
#include <string>
#include <utility>

#include "core/app/field_values.h"
#include "core/app/operator.h"
#include "core/text/job_context.h"

namespace ostrivane::cli {

// One turning job of the command line, as "turn" runs it.
struct TurnRequest {
    explicit TurnRequest(FieldValues main_fields) : fields(std::move(main_fields)) {}

    FieldValues fields;
    std::optional<std::string> spline;  // default: the data folder's file of Smot_name
    std::string tooth;                  // empty: none
    double axis = 100;
    double beam = 100;
    std::optional<Operator::Answer> fast;  // the fast rough question's answer; none: ask
    std::optional<std::string> output;     // --output; "-" is standard output
    JobContext* context = nullptr;         // told the progress; null: nobody
};

// Writes the turning program byte for byte as F7 in the editor, with every message on standard
// error. Returns the exit code: 0, or 1 when the calculation failed (the program is then
// written as far as it got). Throws Error for what stops the job before it writes.
int run_turning(const TurnRequest& request);

}  // namespace ostrivane::cli
