#pragma once
#include <filesystem>
#include <optional>
#include <string>

#include "core/app/field_values.h"
#include "core/text/message_sink.h"
#include "core/toolpath/tgrad.h"

namespace ostrivane::cli {

// Loads the drawing of a turning job into `engine`'s Profile (the profile, the second spline
// and the recorded moves) as the editor loads it: from `spline_file` when one is given, else from
// the data folder's file named after Smot_name (whose absence leaves an empty profile). Refuses,
// before anything is written, a given file that is missing, a file of another version, and one that
// gives no profile; a program name that leads out of its folder is refused too. Returns the file
// read.
std::filesystem::path load_turning_profile(TGrad& engine,
                                           const std::optional<std::string>& spline_file,
                                           const FieldValues& fields, MessageSink& notices);

}  // namespace ostrivane::cli
