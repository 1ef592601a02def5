#include "core/curve/dxf_profile.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/text/ascii_text.h"
#include "core/text/error.h"
#include "core/text/number_parse.h"

namespace ostrivane {
namespace {

constexpr std::size_t kExcerpt = 40;

// One group of the file: its code, its value and the line the code stands on (from 1).
struct Group {
    int code = 0;
    std::string_view value;
    std::size_t line = 0;
};

// An entity: its type, the line of its "0" group and its groups after that one.
struct Entity {
    std::string_view type;
    std::size_t line = 0;
    std::vector<Group> groups;
};

std::vector<Group> groups_of(std::string_view text) {
    if (text.starts_with("AutoCAD Binary DXF"))
        throw Error("This is a binary DXF file; only DXF files saved as text can be imported");
    std::vector<Group> groups;
    std::size_t line = 0;
    std::optional<Group> pending;
    for_each_line(text, [&](std::string_view l) {
        ++line;
        if (!pending) {
            const auto code = parse_int(trim(l));
            if (!code) {
                throw Error("Line " + std::to_string(line) + ": '" +
                            printable_excerpt(trim(l), kExcerpt) +
                            "' is not a DXF group code: this is not a DXF file saved as text");
            }
            pending = Group{*code, {}, line};
        } else {
            pending->value = trim(l);
            groups.push_back(*pending);
            pending.reset();
        }
    });
    if (pending)
        throw Error("Line " + std::to_string(pending->line) +
                    ": the file ends without the value of this group");
    return groups;
}

bool is(const Group& g, int code, std::string_view value) {
    return g.code == code && equal_nocase(g.value, value);
}

// Millimetres per unit of $INSUNITS.
double unit_in_mm(int units, std::size_t line) {
    switch (units) {
        case 0:  // unitless: as the program's own files
        case 4:
            return 1;
        case 1:
            return 25.4;
        case 2:
            return 304.8;
        case 5:
            return 10;
        case 6:
            return 1000;
        case 8:
            return 25.4e-6;
        case 9:
            return 0.0254;
        case 10:
            return 914.4;
        case 13:
            return 0.001;
        case 14:
            return 100;
        default:
            throw Error("Line " + std::to_string(line) + ": the drawing unit " +
                        std::to_string(units) +
                        " ($INSUNITS) is not one a turned profile is drawn in");
    }
}

struct Sections {
    double unit_mm = 1;
    std::vector<Entity> entities;
};

Sections sections_of(const std::vector<Group>& groups) {
    Sections s;
    std::string_view section;
    for (std::size_t i = 0; i < groups.size(); ++i) {
        const Group& g = groups[i];
        if (is(g, 0, "SECTION") && i + 1 < groups.size() && groups[i + 1].code == 2) {
            section = groups[++i].value;
            continue;
        }
        if (is(g, 0, "ENDSEC")) {
            section = {};
            continue;
        }
        if (equal_nocase(section, "HEADER") && is(g, 9, "$INSUNITS") && i + 1 < groups.size()) {
            const Group& v = groups[++i];
            const auto units = parse_int(v.value);
            if (!units) {
                throw Error("Line " + std::to_string(v.line) + ": '" +
                            printable_excerpt(v.value, kExcerpt) +
                            "' is not a drawing unit ($INSUNITS)");
            }
            s.unit_mm = unit_in_mm(*units, v.line);
        } else if (equal_nocase(section, "ENTITIES")) {
            if (g.code == 0)
                s.entities.push_back({g.value, g.line, {}});
            else if (!s.entities.empty())
                s.entities.back().groups.push_back(g);
        }
    }
    return s;
}

std::string where(const Entity& e) {
    return std::string(e.type) + " at line " + std::to_string(e.line);
}

double coordinate(const Group& g, const Entity& e, double unit_mm) {
    const auto value = parse_float(g.value);
    const double mm = value ? *value * unit_mm : NAN;
    if (!value || !(std::fabs(mm) <= kDxfCoordinateLimit)) {
        throw Error("Line " + std::to_string(g.line) + ": '" +
                    printable_excerpt(g.value, kExcerpt) + "' in the " + where(e) +
                    (value ? " lies beyond the working range of " +
                                 std::to_string(static_cast<long long>(kDxfCoordinateLimit)) + " mm"
                           : " is not a valid coordinate"));
    }
    return mm;
}

int flags_of(const Entity& e) {
    for (const Group& g : e.groups) {
        if (g.code == 70)
            return parse_int(g.value).value_or(0);
    }
    return 0;
}

// The points given by groups x_code and x_code + 10, in order.
std::vector<CurvePoint> points_of(const Entity& e, int x_code, double unit_mm) {
    std::vector<CurvePoint> points;
    double x = 0;
    bool have_x = false;  // an x waits for its y
    for (const Group& g : e.groups) {
        if (g.code == x_code) {
            x = coordinate(g, e, unit_mm);
            have_x = true;
        } else if (g.code == x_code + 10 && have_x) {
            points.push_back({x, coordinate(g, e, unit_mm)});
            have_x = false;
        }
    }
    return points;
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

// The vertices of the POLYLINE starting at entity i, up to its SEQEND.
std::vector<CurvePoint> polyline_vertices(const std::vector<Entity>& entities, std::size_t i,
                                          double unit_mm) {
    std::vector<CurvePoint> points;
    for (std::size_t k = i + 1; k < entities.size(); ++k) {
        const Entity& v = entities[k];
        if (!equal_nocase(v.type, "VERTEX"))
            break;
        // Control points of a spline-fitted polyline are not on the curve.
        if ((flags_of(v) & 16) != 0)
            continue;
        const std::vector<CurvePoint> p = points_of(v, 10, unit_mm);
        if (p.empty())
            throw Error("Line " + std::to_string(v.line) + ": the " + where(v) +
                        " has no position");
        points.push_back(p.front());
    }
    return points;
}

bool same_point(const CurvePoint& a, const CurvePoint& b) {
    // Drawings join lines to their own precision; a thousandth of a millimetre is far below
    // anything a saw cuts.
    return std::fabs(a.x - b.x) <= 1e-3 && std::fabs(a.y - b.y) <= 1e-3;
}

std::vector<CurvePoint> line_chain(const std::vector<Entity>& entities, std::size_t first,
                                   double unit_mm) {
    struct Segment {
        CurvePoint a;
        CurvePoint b;
        bool used = false;
    };
    std::vector<Segment> lines;
    for (std::size_t k = first; k < entities.size(); ++k) {
        const Entity& e = entities[k];
        if (!equal_nocase(e.type, "LINE"))
            continue;
        const auto start = points_of(e, 10, unit_mm);
        const auto end = points_of(e, 11, unit_mm);
        if (start.empty() || end.empty())
            throw Error("Line " + std::to_string(e.line) + ": the " + where(e) +
                        " has no start or no end point");
        lines.push_back({start.front(), end.front()});
    }
    std::vector<CurvePoint> chain = {lines.front().a, lines.front().b};
    lines.front().used = true;
    // Grow the chain at its end, then at its start, until no unused line touches it.
    for (const bool at_end : {true, false}) {
        bool grown = true;
        while (grown) {
            grown = false;
            const CurvePoint tip = at_end ? chain.back() : chain.front();
            for (Segment& s : lines) {
                if (s.used)
                    continue;
                std::optional<CurvePoint> next;
                if (same_point(s.a, tip))
                    next = s.b;
                else if (same_point(s.b, tip))
                    next = s.a;
                if (!next)
                    continue;
                s.used = true;
                if (at_end)
                    chain.push_back(*next);
                else
                    chain.insert(chain.begin(), *next);
                grown = true;
                break;
            }
        }
    }
    return chain;
}

}  // namespace

DxfProfile read_dxf_profile(std::string_view text) {
    const Sections s = sections_of(groups_of(text));
    DxfProfile profile;
    profile.unit_mm = s.unit_mm;
    const auto& entities = s.entities;
    for (std::size_t i = 0; i < entities.size(); ++i) {
        const Entity& e = entities[i];
        const bool closed = (flags_of(e) & 1) != 0;
        std::vector<CurvePoint> points;
        if (equal_nocase(e.type, "LWPOLYLINE")) {
            points = points_of(e, 10, s.unit_mm);
        } else if (equal_nocase(e.type, "POLYLINE")) {
            points = polyline_vertices(entities, i, s.unit_mm);
        } else if (equal_nocase(e.type, "SPLINE")) {
            points = points_of(e, 11, s.unit_mm);
            if (points.empty())
                points = points_of(e, 10, s.unit_mm);
        } else {
            continue;
        }
        if (points.size() < 2) {
            throw Error("Line " + std::to_string(e.line) + ": the " + where(e) +
                        " has fewer than two points, so it gives no profile");
        }
        const bool ring = closed && !equal_nocase(e.type, "SPLINE");
        profile.points = ring ? upper_half(points) : points;
        profile.source = where(e) + (ring ? " (its upper half)" : "");
        return profile;
    }
    const auto first_line = std::find_if(entities.begin(), entities.end(), [](const Entity& e) {
        return equal_nocase(e.type, "LINE");
    });
    if (first_line == entities.end()) {
        throw Error(
            "The file holds no profile: its ENTITIES section has no LWPOLYLINE, POLYLINE, SPLINE "
            "or LINE");
    }
    profile.points =
        line_chain(entities, static_cast<std::size_t>(first_line - entities.begin()), s.unit_mm);
    profile.source = "the LINEs joined to the " + where(*first_line);
    return profile;
}

}  // namespace ostrivane
