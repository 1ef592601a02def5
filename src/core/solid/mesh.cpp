#include "core/solid/mesh.h"

#include <algorithm>

namespace ostrivane {

void Mesh::append(const Mesh& other) {
    const bool coloured = !colours.empty() || !other.colours.empty();
    if (coloured)
        colours.resize(triangles.size(), kWoodColour);
    const auto base = static_cast<std::uint32_t>(vertices.size());
    vertices.insert(vertices.end(), other.vertices.begin(), other.vertices.end());
    for (const auto& t : other.triangles)
        triangles.push_back({t[0] + base, t[1] + base, t[2] + base});
    if (coloured) {
        colours.insert(colours.end(), other.colours.begin(), other.colours.end());
        colours.resize(triangles.size(), kWoodColour);
    }
}

double mesh_volume(const Mesh& mesh) {
    double six_times = 0;
    for (const auto& t : mesh.triangles) {
        const Vec3& a = mesh.vertices[t[0]];
        const Vec3& b = mesh.vertices[t[1]];
        const Vec3& c = mesh.vertices[t[2]];
        six_times += a.x * (b.y * c.z - b.z * c.y) - a.y * (b.x * c.z - b.z * c.x) +
                     a.z * (b.x * c.y - b.y * c.x);
    }
    return six_times / 6;
}

std::array<Vec3, 2> mesh_bounds(const Mesh& mesh) {
    if (mesh.vertices.empty())
        return {};
    Vec3 lo = mesh.vertices.front();
    Vec3 hi = lo;
    for (const Vec3& v : mesh.vertices) {
        lo = {std::min(lo.x, v.x), std::min(lo.y, v.y), std::min(lo.z, v.z)};
        hi = {std::max(hi.x, v.x), std::max(hi.y, v.y), std::max(hi.z, v.z)};
    }
    return {lo, hi};
}

}  // namespace ostrivane
