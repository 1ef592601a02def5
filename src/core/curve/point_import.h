#pragma once
#include <filesystem>
#include <string_view>

#include "core/curve/dxf_profile.h"
#include "core/curve/spline_points.h"

namespace ostrivane {

// The most points an import leaves on the profile; the points of further lines are skipped
// with one notice saying how many.
inline constexpr int kImportLimit = 1000;

// Adds the points of an "x;y" text file to `spline1` through save_point, which keeps them
// sorted. A point at an x that is already there is left out, and the import ends with one
// "Double points are not allowed !!!" for all of them (with their number when there were more
// than one). Lines without ";" are skipped; x is the text before the first ";", y everything
// after it, each trimmed of blanks and control characters. A text that is not a number, or a
// number beyond the working range of ±kImportCoordinateLimit mm, throws Error naming its line
// and showing its start; the points added before it stay. Returns the number of points skipped
// for the point limit.
int import_points(std::string_view text, TBetaSPLpoints& spline1);

// Adds the points of the profile drawn in a DXF file (read_dxf_profile) to `spline1` in the
// same way: through save_point, within the same limit. A file that cannot be read throws
// Error naming the line and the entity, and adds nothing.
int import_dxf_points(std::string_view text, TBetaSPLpoints& spline1);

// Whether a file is imported as a DXF drawing: by its extension ".dxf", in any case.
bool is_dxf_file(const std::filesystem::path& file);

// The import for a file of either kind, told apart by its name.
int import_point_file(const std::filesystem::path& file, std::string_view bytes,
                      TBetaSPLpoints& spline1);

}  // namespace ostrivane
