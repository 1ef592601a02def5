#pragma once
#include <vector>

#include "core/check/check_design.h"
#include "core/check/cut_check.h"
#include "core/curve/beta_spline.h"
#include "core/solid/piece.h"

namespace ostrivane {

// The colours of a checked piece's surface, as the backplot shows them.
inline constexpr std::uint32_t kOvercutColour = 0xFFE02828;
inline constexpr std::uint32_t kMaterialLeftColour = 0xFF9C9C9C;

// The turned profile: the radius axis - y along the curve, at stations whose straight pieces
// keep within `tolerance` of it. A curve of fewer than two points gives none.
std::vector<Station> profile_stations(const BetaSpline& curve, double axis, double tolerance);

// The stations with the slots cut in: each slot takes its depth off the radius between its
// edges, with a step at each edge.
std::vector<Station> slotted_stations(const std::vector<Station>& stations,
                                      const std::vector<DesignSlot>& slots);

// The piece a checked turning program cuts: the radius axis - envelope at every sample of the
// check, coloured where it cuts into the design or leaves material (beyond the check's
// tolerance either way), and then only the stations needed within `tolerance`.
std::vector<Station> cut_stations(const CheckReport& report, double axis, double tolerance);

// The design the check held the program to (the profile with its slots), one run of stations
// for each stretch of x where it has one.
std::vector<std::vector<Station>> checked_design_stations(const CheckReport& report, double axis,
                                                          double tolerance);

}  // namespace ostrivane
