#pragma once
#include <vector>

namespace ostrivane {

// One point a profile passes through (or approximates), with its two shape values.
struct ShapePoint {
    double x = 0;
    double y = 0;
    double alpha1 = 1.0;
    double alpha2 = 1.0;
    friend bool operator==(const ShapePoint&, const ShapePoint&) = default;
};

// One fine-milling interval of a profile, in millimetres along x.
struct MillingPart {
    double from = 0;
    double to = 0;
    friend bool operator==(const MillingPart&, const MillingPart&) = default;
};

// What a point set holds as the operator's work: the used points in x order and the
// fine-milling parts, numbered from 1 in the set and from 0 here. Cheap to copy, unlike the
// fixed-capacity working arrays, so files, undo and tests pass this around.
struct SplineShape {
    std::vector<ShapePoint> points;
    std::vector<MillingPart> parts;
    friend bool operator==(const SplineShape&, const SplineShape&) = default;
};

}  // namespace ostrivane
