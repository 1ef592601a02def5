#include "core/solid/loft.h"

#include <cmath>
#include <numbers>

namespace ostrivane {
namespace {

constexpr double kTurn = 2 * std::numbers::pi;

std::uint32_t add_vertex(Mesh& mesh, double x, const RingPoint& p) {
    mesh.vertices.push_back({x, p.rho * std::cos(p.angle), p.rho * std::sin(p.angle)});
    return static_cast<std::uint32_t>(mesh.vertices.size() - 1);
}

// The vertices of a ring, added to the mesh; the index of the first.
std::uint32_t add_ring(Mesh& mesh, const Ring& ring) {
    const auto first = static_cast<std::uint32_t>(mesh.vertices.size());
    for (const RingPoint& p : ring.points)
        add_vertex(mesh, ring.x, p);
    return first;
}

void add_triangle(Mesh& mesh, std::uint32_t a, std::uint32_t b, std::uint32_t c,
                  std::uint32_t colour) {
    mesh.triangles.push_back({a, b, c});
    mesh.colours.push_back(colour);
}

// Joins ring `a` (vertices from `ia`) to the next ring `b` (from `ib`): a walk round both by
// angle that always advances on the ring whose next point comes first, one triangle per step.
void join(Mesh& mesh, const Ring& a, std::uint32_t ia, const Ring& b, std::uint32_t ib) {
    const std::size_t n = a.points.size();
    const std::size_t m = b.points.size();
    const std::uint32_t colour = a.colour;
    const auto at = [](std::uint32_t base, std::size_t k, std::size_t count) {
        return base + static_cast<std::uint32_t>(k % count);
    };
    if (b.is_tip()) {
        for (std::size_t i = 0; i < n; ++i)
            add_triangle(mesh, at(ia, i, n), at(ia, i + 1, n), ib, colour);
        return;
    }
    if (a.is_tip()) {
        for (std::size_t j = 0; j < m; ++j)
            add_triangle(mesh, ia, at(ib, j + 1, m), at(ib, j, m), colour);
        return;
    }
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < n || j < m) {
        const double next_a = i + 1 < n ? a.points[i + 1].angle : kTurn;
        const double next_b = j + 1 < m ? b.points[j + 1].angle : kTurn;
        if (i < n && (j == m || next_a <= next_b)) {
            add_triangle(mesh, at(ia, i, n), at(ia, i + 1, n), at(ib, j, m), colour);
            ++i;
        } else {
            add_triangle(mesh, at(ia, i, n), at(ib, j + 1, m), at(ib, j, m), colour);
            ++j;
        }
    }
}

// A flat cap over a ring: a fan from its centre, facing -x for the first ring, +x for the last.
void cap(Mesh& mesh, const Ring& ring, bool facing_forward) {
    if (ring.is_tip())
        return;
    const std::uint32_t centre = add_vertex(mesh, ring.x, RingPoint{0, 0});
    const std::uint32_t first = add_ring(mesh, ring);
    const std::size_t n = ring.points.size();
    for (std::size_t i = 0; i < n; ++i) {
        const auto p = first + static_cast<std::uint32_t>(i);
        const auto q = first + static_cast<std::uint32_t>((i + 1) % n);
        if (facing_forward)
            add_triangle(mesh, centre, p, q, ring.colour);
        else
            add_triangle(mesh, centre, q, p, ring.colour);
    }
}

}  // namespace

Mesh loft(const std::vector<Ring>& rings) {
    Mesh mesh;
    if (rings.size() < 2)
        return mesh;
    std::uint32_t previous = add_ring(mesh, rings.front());
    for (std::size_t k = 1; k < rings.size(); ++k) {
        const std::uint32_t current = add_ring(mesh, rings[k]);
        join(mesh, rings[k - 1], previous, rings[k], current);
        previous = current;
    }
    cap(mesh, rings.front(), false);
    cap(mesh, rings.back(), true);
    return mesh;
}

}  // namespace ostrivane
