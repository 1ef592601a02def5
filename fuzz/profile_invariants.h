#pragma once
// What every import must leave behind, whatever bytes it was given: a profile within the
// import's point limit, its points in order of x, that evaluates without a fault.
#include <cstdlib>

#include "core/curve/point_import.h"
#include "core/curve/spline_points.h"

namespace ostrivane::fuzz {

inline void check_imported_profile(TBetaSPLpoints& profile) {
    if (profile.Nopoints > kImportLimit)
        std::abort();
    for (int k = 1; k < profile.Nopoints; ++k) {
        if (!(profile.X.Tomatch[k - 1] < profile.X.Tomatch[k]))
            std::abort();
    }
    if (profile.Nopoints >= 2) {
        double x = 0;
        double y = 0;
        profile.evaluate(profile.segments() * 0.5, x, y);
        profile.YatX(x);
    }
}

}  // namespace ostrivane::fuzz
