#pragma once
#include <span>
#include <string_view>

#include "core/app/component.h"

namespace ostrivane {

// The spline editor's components in its component order, the order of drawspline.ini.
std::span<const ComponentSpec> editor_components();

inline constexpr std::string_view editor_class = "TSplineform";
inline constexpr std::string_view editor_state_file = "drawspline.ini";

// The command box's lines, as the operator reads them.
std::span<const std::string_view> editor_command_lines();

}  // namespace ostrivane
