#pragma once
#include <cstdint>
#include <vector>

#include "core/solid/mesh.h"

namespace ostrivane {

// A point of a cross-section: its angle about the x axis (0 <= angle < 2 pi, 0 along +y,
// growing towards +z) and its distance from the axis.
struct RingPoint {
    double angle = 0;
    double rho = 0;
};

// One cross-section of a piece at x: a star-shaped polygon about the axis, its points in
// ascending angle, the first at angle 0; or a single point on the axis (a tip). `colour` is
// the colour of the surface from this section to the next.
struct Ring {
    double x = 0;
    std::vector<RingPoint> points;
    std::uint32_t colour = kWoodColour;

    bool is_tip() const { return points.size() == 1 && points.front().rho == 0; }
};

// The closed surface through `rings` (in ascending x, at least two, no two tips side by side):
// neighbouring sections joined by triangles in the order of their angles, and the first and
// last section closed by a flat cap unless they are tips. The caps have vertices of their own,
// so that shading keeps the rim sharp.
Mesh loft(const std::vector<Ring>& rings);

}  // namespace ostrivane
