#pragma once
#include <vector>

#include "core/check/check_design.h"
#include "core/check/cut_check.h"
#include "core/curve/beta_spline.h"
#include "core/solid/mesh.h"
#include "core/solid/piece.h"

namespace ostrivane {

// A piece as its radius along x, kept apart from the piece it came from (the editor's profile
// changes on; a window that shows the piece keeps this): runs of stations, each one solid,
// either turned or cut from a square beam of side `beam`.
struct PieceShape {
    std::vector<std::vector<Station>> runs;
    double beam = 0;                       // 0: turned; else the beam the piece is cut from
    double tolerance = kDefaultTolerance;  // the stations keep within half of it
    // Its extent in x (0 when it has none).
    double length() const;
};

// The designed piece: `profile` turned about the axis at height `axis` (the radius at x is
// axis - y), with `slots` cut in; followed within half of `tolerance`.
PieceShape designed_shape(const BetaSpline& profile, double axis,
                          const std::vector<DesignSlot>& slots,
                          double tolerance = kDefaultTolerance);

// The piece a checked turning program cuts from a square beam of side `beam` about the axis:
// the beam where the saw never reached it, turned down to the check's envelope elsewhere;
// overcut red and material left grey (beyond the check's tolerance).
PieceShape cut_shape(const CheckReport& report, double axis, double beam,
                     double tolerance = kDefaultTolerance);

// The design a check held its program to (profile and slots), from the check alone.
PieceShape design_shape_of_check(const CheckReport& report, double axis,
                                 double tolerance = kDefaultTolerance);

// The surface of a shape within `tolerance` (no finer than the shape was made for).
Mesh mesh_of(const PieceShape& shape, double tolerance);

// A tolerance for pictures of a piece `length` mm long: finer than anything a picture shows,
// coarse enough that a long piece still turns smoothly under the mouse.
double picture_tolerance(double length);

}  // namespace ostrivane
