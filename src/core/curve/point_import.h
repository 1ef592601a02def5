#pragma once
#include <string_view>

#include "core/curve/spline_points.h"

namespace ostrivane {

// The most points an import leaves on the profile; the points of further lines are skipped
// with one notice saying how many.
inline constexpr int kImportLimit = 1000;

// Adds the points of an "x;y" text file to `spline1` through save_point, which keeps them
// sorted and refuses an x that is already there with its own message. Lines without ";" are
// skipped; x is the text before the first ";", y everything after it, each trimmed of blanks
// and control characters. A text that is not a number throws Error naming its line and showing
// its start; the points added before it stay. Returns the number of points skipped.
int import_points(std::string_view text, TBetaSPLpoints& spline1);

}  // namespace ostrivane
