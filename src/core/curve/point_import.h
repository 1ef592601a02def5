#pragma once
#include <string_view>

#include "core/curve/spline_points.h"

namespace ostrivane {

// The most points an import adds to the profile; further lines are skipped silently.
inline constexpr int kImportLimit = 1000;

// Adds the points of an "x;y" text file to `spline1` through save_point, which keeps them
// sorted and refuses an x that is already there with its own message. Lines without ";" are
// skipped; x is the text before the first ";", y everything after it, each trimmed of blanks
// and control characters. A text that is not a number throws Error naming it; the points added
// before it stay.
void import_points(std::string_view text, TBetaSPLpoints& spline1);

}  // namespace ostrivane
