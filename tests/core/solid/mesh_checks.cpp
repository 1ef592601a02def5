#include "mesh_checks.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <numeric>
#include <set>
#include <tuple>
#include <vector>

namespace ostrivane::test {
namespace {

using Corner = std::array<float, 3>;

Corner single(const Vec3& v) {
    return {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)};
}

std::size_t root(std::vector<std::size_t>& parent, std::size_t i) {
    while (parent[i] != i)
        i = parent[i] = parent[parent[i]];
    return i;
}

}  // namespace

::testing::AssertionResult is_sound_solid(const Mesh& mesh) {
    if (mesh.triangles.empty())
        return ::testing::AssertionFailure() << "no triangles";
    std::map<Corner, std::size_t> ids;
    const auto id = [&ids](const Vec3& v) {
        return ids.try_emplace(single(v), ids.size()).first->second;
    };
    std::map<std::pair<std::size_t, std::size_t>, std::size_t> edges;  // directed edge -> triangle
    std::set<std::array<std::size_t, 3>> seen;
    std::vector<std::array<std::size_t, 3>> corners;
    for (const auto& t : mesh.triangles) {
        const std::array<std::size_t, 3> c{id(mesh.vertices[t[0]]), id(mesh.vertices[t[1]]),
                                           id(mesh.vertices[t[2]])};
        corners.push_back(c);
    }
    for (std::size_t k = 0; k < corners.size(); ++k) {
        const auto& c = corners[k];
        if (c[0] == c[1] || c[1] == c[2] || c[0] == c[2])
            return ::testing::AssertionFailure() << "triangle " << k << " has two equal corners";
        const Corner a = single(mesh.vertices[mesh.triangles[k][0]]);
        const Corner b = single(mesh.vertices[mesh.triangles[k][1]]);
        const Corner d = single(mesh.vertices[mesh.triangles[k][2]]);
        const double ux = b[0] - a[0], uy = b[1] - a[1], uz = b[2] - a[2];
        const double vx = d[0] - a[0], vy = d[1] - a[1], vz = d[2] - a[2];
        const double area = std::hypot(uy * vz - uz * vy, uz * vx - ux * vz, ux * vy - uy * vx);
        if (!(area > 1e-12))
            return ::testing::AssertionFailure() << "triangle " << k << " has no area";
        std::array<std::size_t, 3> sorted = c;
        std::sort(sorted.begin(), sorted.end());
        if (!seen.insert(sorted).second)
            return ::testing::AssertionFailure() << "triangle " << k << " is there twice";
        for (int e = 0; e < 3; ++e) {
            if (!edges.emplace(std::pair{c[e], c[(e + 1) % 3]}, k).second)
                return ::testing::AssertionFailure()
                       << "an edge of triangle " << k << " runs the same way in another";
        }
    }
    std::vector<std::size_t> parent(corners.size());
    std::iota(parent.begin(), parent.end(), 0);
    for (const auto& [edge, k] : edges) {
        const auto other = edges.find({edge.second, edge.first});
        if (other == edges.end())
            return ::testing::AssertionFailure() << "an edge of triangle " << k << " is open";
        parent[root(parent, k)] = root(parent, other->second);
    }
    const std::size_t first = root(parent, 0);
    for (std::size_t k = 1; k < corners.size(); ++k) {
        if (root(parent, k) != first)
            return ::testing::AssertionFailure() << "triangle " << k << " is a separate part";
    }
    return ::testing::AssertionSuccess();
}

}  // namespace ostrivane::test
