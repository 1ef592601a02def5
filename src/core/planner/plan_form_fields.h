#pragma once
#include <span>
#include <string_view>

#include "core/app/component.h"

namespace ostrivane {

// The plan window's components in their order: the members of planner.ini. The check box for
// the joining marks is not among them, so the file stays what the window always wrote.
std::span<const ComponentSpec> plan_window_components();

// The class name that names the plan window in diagnostics.
inline constexpr std::string_view plan_window_class = "Tplanform";

// The file the plan window keeps its fields in, in the data folder.
inline constexpr std::string_view plan_window_file = "planner.ini";

}  // namespace ostrivane
