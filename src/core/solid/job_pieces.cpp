#include "core/solid/job_pieces.h"

#include <algorithm>

#include "core/solid/piece.h"
#include "core/solid/stations.h"

namespace ostrivane {

Mesh designed_piece(const BetaSpline& profile, double axis, const std::vector<DesignSlot>& slots,
                    double tolerance) {
    // The chords along the profile take half the tolerance, those round the axis the other.
    const std::vector<Station> stations =
        slotted_stations(profile_stations(profile, axis, tolerance / 2), slots);
    return turned_piece(stations, tolerance);
}

Mesh cut_piece_of_check(const CheckReport& report, double axis, double beam, double tolerance) {
    return cut_piece(cut_stations(report, axis, tolerance / 2), beam, tolerance);
}

Mesh design_of_check(const CheckReport& report, double axis, double tolerance) {
    Mesh mesh;
    for (const std::vector<Station>& run : checked_design_stations(report, axis, tolerance / 2))
        mesh.append(turned_piece(run, tolerance));
    return mesh;
}

double picture_tolerance(double length) {
    return std::max(kDefaultTolerance, length / 4000);
}

}  // namespace ostrivane
