#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "core/toolpath/turning_job.h"

namespace ostrivane {

// The editor takes coordinates and turning-axis positions within the turning job's working
// range (kWorkingRange mm either side of 0): no machine this program drives reaches further,
// and the picture and the passes work per pixel and per sample over these distances, so a
// position of 1e300 would hold the window for hours.

// A finite value no further from 0 than the working range.
bool within_working_range(double value);

// What is wrong with `value` entered as `label`, in the words the turning job uses, or nothing
// when it lies in the working range: "Position Y (mm) must lie between -100000 and 100000, not
// -1E300."
std::optional<std::string> working_range_problem(double value, std::string_view label);

}  // namespace ostrivane
