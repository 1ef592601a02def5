#pragma once
#include <cstdint>
#include <vector>

#include "core/solid/loft.h"
#include "core/solid/mesh.h"

namespace ostrivane {

// The radius of a piece at x, and the colour of its surface from here to the next station.
// Stations run in ascending x; two at the same x make a step (a shoulder, the wall of a slot).
struct Station {
    double x = 0;
    double radius = 0;
    std::uint32_t colour = kWoodColour;
};

// The thinnest a piece is drawn between its ends: a neck the profile takes down to the axis
// would cut the piece in two.
inline constexpr double kThinnestRadius = 0.01;
// The default distance of a piece's surface from the true one, in mm.
inline constexpr double kDefaultTolerance = 0.05;

// How many equal chords of a circle of `radius` stay within `sag` of it (at least 8).
int circle_segments(double radius, double sag);

// The area of the square of half side `half_side` about the axis that the circle of `radius`
// leaves: the cross-section of a square beam turned down to that radius.
double square_circle_area(double half_side, double radius);

// The stations made fit for a surface: ascending x (a station behind the one before it is
// dropped), stations closer in x than a micrometre made into steps, repeats dropped, radii of
// at most zero at the ends made tips and the radii between them kept at kThinnestRadius or
// more. Empty when no two stations are left.
std::vector<Station> settled_stations(std::vector<Station> stations);

// The stations needed to follow `stations` within `tolerance` in radius by straight pieces:
// those where the colour changes and those a straight piece cannot skip.
std::vector<Station> simplified_stations(const std::vector<Station>& stations, double tolerance);

// The turned piece: a circle of each station's radius, its surface within `tolerance` of the
// true one (the chords take half of it). Empty when the stations give no solid.
Mesh turned_piece(const std::vector<Station>& stations, double tolerance);

// The piece a square beam of side `beam` (about the axis) becomes when turned down to the
// stations' radii: at each station the square cut by the circle, within `tolerance`.
Mesh cut_piece(const std::vector<Station>& stations, double beam, double tolerance);

}  // namespace ostrivane
