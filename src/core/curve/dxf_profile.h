#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "core/curve/beta_spline.h"

namespace ostrivane {

// A profile drawn in a CAD program, as the points of one entity of a DXF file's ENTITIES
// section, in millimetres (the drawing's $INSUNITS converted; a drawing without units is taken
// as millimetres). The entity is the first polyline (LWPOLYLINE, POLYLINE) or SPLINE in the
// file: an open polyline gives its vertices, a closed one its upper half (the vertices from
// its leftmost to its rightmost point along the side that lies higher), a SPLINE its fit
// points or else its control points. A file with none of these gives the chain of LINEs that
// starts with its first LINE, followed end to end in both directions (ends less than a
// thousandth of a millimetre apart meet). Arcs (bulges) are taken as straight.
struct DxfProfile {
    std::vector<CurvePoint> points;  // in the order of the entity
    std::string source;              // what was read: "LWPOLYLINE at line 120"
    double unit_mm = 1;              // millimetres per drawing unit
};

// Throws Error for what cannot be read, naming the line and the entity: a binary DXF, a
// group code that is not a number, a file cut short (no "0 EOF" at its end, an LWPOLYLINE with
// fewer or more vertices than it declares), a coordinate that is not a number or lies beyond
// the working range, a unit this program does not know, or a file without a usable entity. A
// UTF-8 byte order mark before the first group is skipped. The time taken grows in step with
// the file, and the memory with the entity read, never with the rest of the file.
DxfProfile read_dxf_profile(std::string_view text);

// Coordinates of imported profiles, from a drawing or a point list, stay within this many
// millimetres of the origin: the working range of every length the program writes.
inline constexpr double kImportCoordinateLimit = 100000;

}  // namespace ostrivane
