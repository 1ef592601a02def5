#pragma once
#include "core/plot/canvas.h"
#include "core/plot/tgrita.h"

namespace ostrivane {

// World point to pixels through one mapping; the single place where the plot surface rounds a
// mapped coordinate to single precision.
inline PointF to_pixels(const GrafBounds& g, double x, double y) {
    return {static_cast<float>(x * g.AX + g.BX), static_cast<float>(y * g.AY + g.BY)};
}

}  // namespace ostrivane
