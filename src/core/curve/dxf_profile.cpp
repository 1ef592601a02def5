#include "core/curve/dxf_profile.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/curve/dxf_groups.h"
#include "core/curve/line_chain.h"
#include "core/text/ascii_text.h"
#include "core/text/error.h"
#include "core/text/number_format.h"
#include "core/text/number_parse.h"

namespace ostrivane {
namespace {

constexpr std::size_t kExcerpt = 40;

std::string where(const DxfEntity& e) {
    return std::string(e.type) + " at line " + std::to_string(e.line);
}

std::string line_of(std::size_t line) {
    return "Line " + std::to_string(line) + ": ";
}

double coordinate(const DxfGroup& g, const DxfEntity& e, double unit_mm) {
    const auto value = parse_float(g.value);
    const double mm = value ? *value * unit_mm : NAN;
    if (!value || !(std::fabs(mm) <= kImportCoordinateLimit)) {
        throw Error(line_of(g.line) + "'" + printable_excerpt(g.value, kExcerpt) + "' in the " +
                    where(e) +
                    (value ? " lies beyond the working range of ±" +
                                 format_general(kImportCoordinateLimit) + " mm"
                           : " is not a valid coordinate"));
    }
    return mm;
}

int flags_of(const DxfEntityReader& reader, const DxfEntity& e) {
    std::optional<int> flags;
    reader.for_each_group(e, [&](const DxfGroup& g) {
        if (g.code == 70 && !flags)
            flags = parse_int(g.value).value_or(0);
    });
    return flags.value_or(0);
}

// The points given by groups x_code and x_code + 10, in order.
std::vector<CurvePoint> points_of(const DxfEntityReader& reader, const DxfEntity& e, int x_code) {
    std::vector<CurvePoint> points;
    double x = 0;
    bool have_x = false;  // an x waits for its y
    reader.for_each_group(e, [&](const DxfGroup& g) {
        if (g.code == x_code) {
            x = coordinate(g, e, reader.unit_mm());
            have_x = true;
        } else if (g.code == x_code + 10 && have_x) {
            points.push_back({x, coordinate(g, e, reader.unit_mm())});
            have_x = false;
        }
    });
    return points;
}

// The first point given by groups x_code and x_code + 10; the groups after it are not read.
std::optional<CurvePoint> first_point(const DxfEntityReader& reader, const DxfEntity& e,
                                      int x_code) {
    std::optional<CurvePoint> point;
    std::optional<double> x;
    reader.for_each_group(e, [&](const DxfGroup& g) {
        if (point)
            return;
        if (g.code == x_code)
            x = coordinate(g, e, reader.unit_mm());
        else if (g.code == x_code + 10 && x)
            point = CurvePoint{*x, coordinate(g, e, reader.unit_mm())};
    });
    return point;
}

// The vertices an LWPOLYLINE declares (group 90); a file cut short holds fewer.
void check_vertex_count(const DxfEntityReader& reader, const DxfEntity& e, std::size_t held) {
    reader.for_each_group(e, [&](const DxfGroup& g) {
        if (g.code != 90)
            return;
        const auto declared = parse_int(g.value);
        if (!declared || *declared < 0) {
            throw Error(line_of(g.line) + "'" + printable_excerpt(g.value, kExcerpt) + "' in the " +
                        where(e) + " is not a number of vertices");
        }
        if (static_cast<std::size_t>(*declared) != held) {
            throw Error(line_of(e.line) + "the " + where(e) + " declares " +
                        std::to_string(*declared) + " vertices but holds " + std::to_string(held) +
                        ": the file is damaged");
        }
    });
}

// The side of a closed outline that lies higher, from its leftmost point to its rightmost.
std::vector<CurvePoint> upper_half(const std::vector<CurvePoint>& ring) {
    const auto n = ring.size();
    // Of points at equal x the higher one ends the upper side.
    const auto further = [](const CurvePoint& a, const CurvePoint& b, bool left) {
        if (a.x != b.x)
            return left ? a.x < b.x : a.x > b.x;
        return a.y > b.y;
    };
    std::size_t lo = 0;
    std::size_t hi = 0;
    for (std::size_t i = 1; i < n; ++i) {
        if (further(ring[i], ring[lo], true))
            lo = i;
        if (further(ring[i], ring[hi], false))
            hi = i;
    }
    const auto walk = [&](std::size_t from, std::size_t to) {
        std::vector<CurvePoint> side;
        for (std::size_t i = from;; i = (i + 1) % n) {
            side.push_back(ring[i]);
            if (i == to)
                break;
        }
        return side;
    };
    std::vector<CurvePoint> a = walk(lo, hi);
    std::vector<CurvePoint> b = walk(hi, lo);
    const auto mean_y = [](const std::vector<CurvePoint>& side) {
        double sum = 0;
        for (const CurvePoint& p : side)
            sum += p.y;
        return sum / static_cast<double>(side.size());
    };
    if (mean_y(b) > mean_y(a)) {
        std::reverse(b.begin(), b.end());
        return b;
    }
    return a;
}

// The vertices of the POLYLINE just read, from the VERTEX entities that follow it.
std::vector<CurvePoint> polyline_vertices(DxfEntityReader& reader) {
    std::vector<CurvePoint> points;
    while (const auto v = reader.next()) {
        if (!equal_nocase(v->type, "VERTEX"))
            break;
        // Control points of a spline-fitted polyline are not on the curve.
        if ((flags_of(reader, *v) & 16) != 0)
            continue;
        const std::vector<CurvePoint> p = points_of(reader, *v, 10);
        if (p.empty())
            throw Error(line_of(v->line) + "the " + where(*v) + " has no position");
        points.push_back(p.front());
    }
    return points;
}

// The points of a polyline or spline entity; nullopt for an entity of another type.
std::optional<std::vector<CurvePoint>> entity_points(DxfEntityReader& reader, const DxfEntity& e) {
    if (equal_nocase(e.type, "LWPOLYLINE")) {
        std::vector<CurvePoint> points = points_of(reader, e, 10);
        check_vertex_count(reader, e, points.size());
        return points;
    }
    if (equal_nocase(e.type, "POLYLINE"))
        return polyline_vertices(reader);
    if (equal_nocase(e.type, "SPLINE")) {
        std::vector<CurvePoint> points = points_of(reader, e, 11);
        return points.empty() ? points_of(reader, e, 10) : points;
    }
    return std::nullopt;
}

// Reads the whole file once: every group code, the units, and the end that shows the file
// whole. Returns the units.
double survey(std::string_view text) {
    DxfEntityReader reader(text);
    while (reader.next()) {
    }
    const std::size_t lines = reader.line() - 1;
    if (lines == 0)
        throw Error("The file is empty: it holds no drawing");
    if (!reader.reached_eof()) {
        throw Error("The file ends at line " + std::to_string(lines) +
                    " without its last group (0 EOF): it is cut short");
    }
    return reader.unit_mm();
}

std::optional<DxfProfile> first_polyline(std::string_view text) {
    DxfEntityReader reader(text);
    while (const auto e = reader.next()) {
        const auto points = entity_points(reader, *e);
        if (!points)
            continue;
        const bool closed = (flags_of(reader, *e) & 1) != 0;
        if (points->size() < 2) {
            throw Error(line_of(e->line) + "the " + where(*e) +
                        " has fewer than two points, so it gives no profile");
        }
        const bool ring = closed && !equal_nocase(e->type, "SPLINE");
        DxfProfile profile;
        profile.points = ring ? upper_half(*points) : *points;
        profile.source = where(*e) + (ring ? " (its upper half)" : "");
        return profile;
    }
    return std::nullopt;
}

DxfProfile line_profile(std::string_view text) {
    DxfEntityReader reader(text);
    std::vector<LineSegment> lines;
    std::optional<DxfEntity> first;
    while (const auto e = reader.next()) {
        if (!equal_nocase(e->type, "LINE"))
            continue;
        const auto start = first_point(reader, *e, 10);
        const auto end = first_point(reader, *e, 11);
        if (!start || !end)
            throw Error(line_of(e->line) + "the " + where(*e) + " has no start or no end point");
        lines.push_back({*start, *end});
        if (!first)
            first = e;
    }
    if (!first) {
        throw Error(
            "The file holds no profile: its ENTITIES section has no LWPOLYLINE, POLYLINE, SPLINE "
            "or LINE");
    }
    DxfProfile profile;
    profile.points = join_line_chain(lines);
    profile.source = "the LINEs joined to the " + where(*first);
    return profile;
}

}  // namespace

DxfProfile read_dxf_profile(std::string_view text) {
    if (text.starts_with("AutoCAD Binary DXF"))
        throw Error("This is a binary DXF file; only DXF files saved as text can be imported");
    // Three walks through the text, none keeping more than the entity it reads: the whole
    // file, its first polyline or spline, else its lines.
    const double unit_mm = survey(text);
    DxfProfile profile = first_polyline(text).value_or(DxfProfile{});
    if (profile.points.empty())
        profile = line_profile(text);
    profile.unit_mm = unit_mm;
    return profile;
}

}  // namespace ostrivane
