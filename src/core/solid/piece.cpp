#include "core/solid/piece.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ostrivane {
namespace {

constexpr double kPi = std::numbers::pi;
// Closer than this (mm) two stations stand at one x, and two points of a section are one.
constexpr double kClosest = 1e-3;

// The radius of a regular polygon of n corners with the area of the circle of `radius`: its
// corners lie a little outside the circle and its sides a little inside, so the piece keeps
// its volume however coarse the polygon, and strays from the circle less than the inscribed
// polygon would.
double polygon_radius(double radius, int n) {
    const double angle = 2 * kPi / n;
    return radius * std::sqrt(angle / std::sin(angle));
}

std::vector<RingPoint> regular_polygon(double radius, int n) {
    std::vector<RingPoint> points;
    points.reserve(static_cast<std::size_t>(n));
    const double corner = polygon_radius(radius, n);
    for (int i = 0; i < n; ++i)
        points.push_back({2 * kPi * i / n, corner});
    return points;
}

std::vector<RingPoint> circle_section(double radius, double sag) {
    return regular_polygon(radius, circle_segments(radius, sag));
}

// Points on the arc of `radius` from angle `from` to `to` (both included), within `sag`.
void add_arc(std::vector<RingPoint>& points, double radius, double from, double to, double sag) {
    const double step = 2 * std::acos(std::max(-1.0, 1 - sag / radius));
    const int k = std::max(1, static_cast<int>(std::ceil((to - from) / step)));
    for (int i = 0; i <= k; ++i)
        points.push_back({from + (to - from) * i / k, radius});
}

// The square of half side b cut by the circle of radius r, as a section starting at angle 0.
std::vector<RingPoint> cut_section(double b, double r, double sag) {
    const double corner = b * std::numbers::sqrt2;
    if (r <= b + kClosest)
        return circle_section(r, sag);
    std::vector<RingPoint> points{{0, b}};
    if (r >= corner - kClosest) {
        for (int q = 0; q < 4; ++q)
            points.push_back({kPi / 4 + q * kPi / 2, corner});
        return points;
    }
    // Each side is cut back where the circle crosses it, phi either side of its middle.
    const double phi = std::acos(b / r);
    for (int q = 0; q < 4; ++q) {
        const double middle = q * kPi / 2;
        add_arc(points, r, middle + phi, middle + kPi / 2 - phi, sag);
    }
    return points;
}

Ring ring_of(const Station& s, std::vector<RingPoint> points) {
    return Ring{s.x, std::move(points), s.colour};
}

Ring tip_at(const Station& s) {
    return Ring{s.x, {RingPoint{0, 0}}, s.colour};
}

bool is_tip(const Station& s) {
    return s.radius <= 0;
}

}  // namespace

int circle_segments(double radius, double sag) {
    if (!(radius > sag) || !(sag > 0))
        return 8;
    const double half_angle = std::acos(1 - sag / radius);
    const double n = std::ceil(kPi / half_angle);
    return static_cast<int>(std::clamp(n, 8.0, 100000.0));
}

double square_circle_area(double half_side, double radius) {
    const double b = half_side;
    const double r = radius;
    if (r <= 0 || b <= 0)
        return 0;
    if (r <= b)
        return kPi * r * r;
    if (r >= b * std::numbers::sqrt2)
        return 4 * b * b;
    // The circle less the four caps beyond the sides.
    const double cap = r * r * std::acos(b / r) - b * std::sqrt(r * r - b * b);
    return kPi * r * r - 4 * cap;
}

std::vector<Station> settled_stations(std::vector<Station> stations) {
    std::vector<Station> kept;
    kept.reserve(stations.size());
    for (Station s : stations) {
        if (!kept.empty()) {
            const Station& last = kept.back();
            if (s.x < last.x - kClosest)
                continue;
            if (s.x < last.x + kClosest)
                s.x = last.x;
            if (s.x == last.x && s.radius == last.radius)
                continue;
            // A step after a step at the same x: the middle one is no longer needed.
            if (kept.size() >= 2 && s.x == last.x && kept[kept.size() - 2].x == last.x)
                kept.pop_back();
        }
        kept.push_back(s);
    }
    // Tips only at the ends; a step at an end would leave a tip beside a ring at its own x.
    while (kept.size() >= 2 && kept[0].x == kept[1].x)
        kept.erase(kept.begin());
    while (kept.size() >= 2 && kept[kept.size() - 1].x == kept[kept.size() - 2].x)
        kept.pop_back();
    for (std::size_t k = 0; k < kept.size(); ++k) {
        const bool end = k == 0 || k + 1 == kept.size();
        if (end && kept[k].radius <= kThinnestRadius)
            kept[k].radius = 0;
        else
            kept[k].radius = std::max(kept[k].radius, kThinnestRadius);
    }
    if (kept.size() < 2 || (kept.size() == 2 && is_tip(kept[0]) && is_tip(kept[1])))
        return {};
    return kept;
}

std::vector<Station> simplified_stations(const std::vector<Station>& stations, double tolerance) {
    if (stations.size() <= 2)
        return stations;
    std::vector<Station> kept{stations.front()};
    std::size_t anchor = 0;
    // How far one straight piece may look ahead: keeps the work linear for long smooth runs.
    constexpr std::size_t kLongest = 512;
    std::size_t k = 1;
    while (k + 1 < stations.size()) {
        const Station& a = stations[anchor];
        const Station& next = stations[k + 1];
        bool fits = next.x > a.x && k + 1 - anchor <= kLongest && stations[k].colour == a.colour &&
                    next.colour == a.colour;
        for (std::size_t i = anchor + 1; fits && i <= k; ++i) {
            const Station& s = stations[i];
            const double along = (s.x - a.x) / (next.x - a.x);
            const double line = a.radius + along * (next.radius - a.radius);
            fits = std::abs(line - s.radius) <= tolerance;
        }
        if (!fits) {
            kept.push_back(stations[k]);
            anchor = k;
        }
        ++k;
    }
    kept.push_back(stations.back());
    return kept;
}

Mesh turned_piece(const std::vector<Station>& given, double tolerance) {
    const std::vector<Station> stations = settled_stations(given);
    if (stations.empty())
        return {};
    double widest = 0;
    for (const Station& s : stations)
        widest = std::max(widest, s.radius);
    // One count for every circle, so that neighbouring circles join in even quads.
    const int n = circle_segments(widest, tolerance / 2);
    std::vector<Ring> rings;
    rings.reserve(stations.size());
    for (const Station& s : stations) {
        if (is_tip(s)) {
            rings.push_back(tip_at(s));
            continue;
        }
        rings.push_back(ring_of(s, regular_polygon(s.radius, n)));
    }
    return loft(rings);
}

Mesh cut_piece(const std::vector<Station>& given, double beam, double tolerance) {
    const std::vector<Station> stations = settled_stations(given);
    if (stations.empty() || !(beam > 0))
        return {};
    std::vector<Ring> rings;
    rings.reserve(stations.size());
    for (const Station& s : stations) {
        if (is_tip(s))
            rings.push_back(tip_at(s));
        else
            rings.push_back(ring_of(s, cut_section(beam / 2, s.radius, tolerance / 2)));
    }
    return loft(rings);
}

}  // namespace ostrivane
