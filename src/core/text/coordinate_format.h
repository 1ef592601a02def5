#pragma once
#include <string>

namespace ostrivane {

// A world coordinate under the mouse as the windows show it beside "X: " and "Y: ": fixed
// notation with 3 decimals of at most 7 significant digits (further digits show as zeros), "."
// as decimal separator. Infinities and NaN in the general format.
std::string format_coordinate(double value);

}  // namespace ostrivane
