#pragma once
#include <vector>

#include "core/check/check_design.h"
#include "core/check/cut_check.h"
#include "core/curve/beta_spline.h"
#include "core/solid/mesh.h"

namespace ostrivane {

// The designed piece: `profile` turned about the axis at height `axis` (the radius at x is
// axis - y), with `slots` cut in, within `tolerance` of the true surface.
Mesh designed_piece(const BetaSpline& profile, double axis, const std::vector<DesignSlot>& slots,
                    double tolerance);

// The piece a checked turning program cuts from a square beam of side `beam` about the axis:
// the beam where the saw never reached it, turned down to the check's envelope elsewhere;
// overcut red and material left grey, as the backplot shows them.
Mesh cut_piece_of_check(const CheckReport& report, double axis, double beam, double tolerance);

// The design a check held its program to (profile and slots), from the check alone.
Mesh design_of_check(const CheckReport& report, double axis, double tolerance);

// A tolerance for pictures of a piece `length` mm long: finer than anything a picture shows,
// coarse enough that a long piece still turns smoothly under the mouse.
double picture_tolerance(double length);

}  // namespace ostrivane
