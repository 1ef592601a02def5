#include "core/solid/job_pieces.h"

#include <algorithm>

#include "core/solid/stations.h"

namespace ostrivane {

double PieceShape::length() const {
    double lo = 0;
    double hi = 0;
    bool any = false;
    for (const auto& run : runs) {
        if (run.empty())
            continue;
        lo = any ? std::min(lo, run.front().x) : run.front().x;
        hi = any ? std::max(hi, run.back().x) : run.back().x;
        any = true;
    }
    return hi - lo;
}

PieceShape designed_shape(const BetaSpline& profile, double axis,
                          const std::vector<DesignSlot>& slots, double tolerance) {
    // The chords along the profile take half the tolerance, those round the axis the other.
    return {
        {slotted_stations(profile_stations(profile, axis, tolerance / 2), slots)}, 0, tolerance};
}

PieceShape cut_shape(const CheckReport& report, double axis, double beam, double tolerance) {
    return {{cut_stations(report, axis, tolerance / 2)}, beam, tolerance};
}

PieceShape design_shape_of_check(const CheckReport& report, double axis, double tolerance) {
    return {checked_design_stations(report, axis, tolerance / 2), 0, tolerance};
}

Mesh mesh_of(const PieceShape& shape, double tolerance) {
    Mesh mesh;
    // What the stations may still leave out, beside what they left out when they were made.
    const double spare = (tolerance - shape.tolerance) / 2;
    for (const auto& run : shape.runs) {
        const std::vector<Station> stations = spare > 0 ? simplified_stations(run, spare) : run;
        mesh.append(shape.beam > 0 ? cut_piece(stations, shape.beam, tolerance)
                                   : turned_piece(stations, tolerance));
    }
    return mesh;
}

double picture_tolerance(double length) {
    return std::max(kDefaultTolerance, length / 4000);
}

}  // namespace ostrivane
