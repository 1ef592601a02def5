#pragma once
#include <span>
#include <string_view>

#include "core/app/component.h"

namespace ostrivane {

// The spline editor's components in its component order, the order of drawspline.ini.
std::span<const ComponentSpec> editor_components();

inline constexpr std::string_view editor_class = "TSplineform";
inline constexpr std::string_view editor_state_file = "drawspline.ini";

// One row of the command box: the keys (or mouse action) and what they do.
struct EditorCommand {
    std::string_view keys;
    std::string_view action;
};

// The command box's rows, as the operator reads them.
std::span<const EditorCommand> editor_commands();

}  // namespace ostrivane
