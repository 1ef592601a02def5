#pragma once
#include <array>
#include <cstdint>
#include <vector>

namespace ostrivane {

struct Vec3 {
    double x = 0;
    double y = 0;
    double z = 0;
};

// A surface of triangles in millimetres. Each triangle lists its corners counter-clockwise as
// seen from outside, so its normal points out of the solid. `colours` holds one ARGB colour
// per triangle, or nothing (then every triangle has the default colour of whoever draws it).
// The colour of wood, for a piece drawn without a colour of its own.
inline constexpr std::uint32_t kWoodColour = 0xFFD2A679;

struct Mesh {
    std::vector<Vec3> vertices;
    std::vector<std::array<std::uint32_t, 3>> triangles;
    std::vector<std::uint32_t> colours;

    // The triangles of `other`, with their colours, added to these.
    void append(const Mesh& other);
};

// The volume a closed, outward-facing mesh encloses (the sum of the signed tetrahedra from the
// origin).
double mesh_volume(const Mesh& mesh);

// The smallest box around the vertices: {min, max}; two zero points for an empty mesh.
std::array<Vec3, 2> mesh_bounds(const Mesh& mesh);

}  // namespace ostrivane
