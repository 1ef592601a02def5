#pragma once
#include <optional>

#include "core/plot/canvas.h"

namespace ostrivane {

class Tgrita;
class TBetaSPLpoints;
class TGrad;

// Pictures of a profile on the plot surface. The profile knows nothing of the surface; these
// read it and draw. Selected points and parts are always drawn in opaque red.

// A "+" on every point.
void draw_points(Tgrita& surface, const TBetaSPLpoints& profile, Argb colour);
// Each fine-milling part as a pair of brackets [ ] over the visible height.
void draw_parts(Tgrita& surface, const TBetaSPLpoints& profile, Argb colour);
// The curve as a polyline of Nopoints * NumIntervals samples, in unjoined chunks of at most
// 9999; with use_height the plot shows y horizontally. With `mirror_axis` every chunk is drawn
// a second time, mirrored about that height (the turned piece's other half).
void draw_spline(Tgrita& surface, const TBetaSPLpoints& profile, Argb colour, bool use_height,
                 std::optional<double> mirror_axis = std::nullopt);
// The same samples on a bitmap through the surface's bitmap mapping, `thickness` px wide.
void draw_spline(Tgrita& surface, Canvas& bitmap, const TBetaSPLpoints& profile, Argb colour,
                 bool use_height, float thickness);
// The profile's turning points, marked where the profile's search finds them. The search moves
// the profile's remembered parameter as a calculation's own searches do.
void draw_gradients(Tgrita& surface, TBetaSPLpoints& profile);

// The turning axis across the view and the beam the piece is turned from, centred on it.
void draw_axis_and_beam(Tgrita& surface, const TGrad& engine);
// The editor's picture of a turning job: the profile with its mirror image, its points and
// parts, the axis and beam, and the second spline.
void draw_turning_profile(Tgrita& surface, const TGrad& engine);

}  // namespace ostrivane
