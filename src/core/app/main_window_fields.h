#pragma once
#include <span>
#include <string_view>

#include "core/app/component.h"

namespace ostrivane {

// Every component of the main window in its component order: the order of the members of its
// state files. Labels, captions and defaults live here so that the window and the command-line
// tool agree to the byte.
std::span<const ComponentSpec> main_window_components();

// The component of that name, or nullptr.
const ComponentSpec* find_main_window_component(std::string_view name);

// The class name that names the main window in diagnostics.
inline constexpr std::string_view main_window_class = "TOstrivane";

// The items of the four axis selectors, in order. The rotary letters came later and follow the
// first four, so a stored selection (its index) keeps its meaning.
inline constexpr std::string_view axis_letters = "XYZWABC";

}  // namespace ostrivane
