#include "core/curve/spline_points.h"

namespace ostrivane {

void TBetaSPLpoints::save_part(double Xfrom, double XTo) {
    // The part arrays end at slot 10000; one more part would be written past them.
    if (NoParts >= kMaxParts) {
        message("Maximum number of fine milling parts exceeded !!!");
        return;
    }
    int i = 1;
    while (i <= NoParts && fromX[i] < Xfrom)
        ++i;
    if (i <= NoParts && Xfrom == fromX[i]) {
        message("Double points are not allowed !!!");
        return;
    }
    // Touching is allowed: a part may start exactly where the one before ends.
    if ((i > 1 && Xfrom < ToX[i - 1]) || (i <= NoParts && XTo > fromX[i])) {
        message("Double points for fine milling are not allowed !!!");
        return;
    }
    if (XTo - Xfrom < mill_width) {
        message("saw width does not fit inside fine milling interval");
        return;
    }
    // Selection marks belong to part numbers, not to parts: they stay where they are.
    for (int p = NoParts; p >= i; --p) {
        fromX[p + 1] = fromX[p];
        ToX[p + 1] = ToX[p];
    }
    fromX[i] = Xfrom;
    ToX[i] = XTo;
    ++NoParts;
}

void TBetaSPLpoints::remove_part(int number) {
    for (int p = number; p < NoParts; ++p) {
        fromX[p] = fromX[p + 1];
        ToX[p] = ToX[p + 1];
        parts_selected[p] = parts_selected[p + 1];
    }
    --NoParts;
}

void TBetaSPLpoints::destroy_part(double min_x, double max_x) {
    if (min_x == max_x)
        return;
    int p = 1;
    while (p <= NoParts) {
        const bool from_inside = min_x < fromX[p] && fromX[p] < max_x;
        const bool to_inside = min_x < ToX[p] && ToX[p] < max_x;
        if (from_inside || to_inside) {
            remove_part(p);  // the next part now has number p
        } else {
            ++p;
        }
    }
}

void TBetaSPLpoints::destroy_part_part(std::uint16_t point_counter) {
    if (point_counter < 1 || point_counter > NoParts)
        return;
    remove_part(point_counter);
}

void TBetaSPLpoints::deselect_parts() {
    parts_selected.fill(false);
}

}  // namespace ostrivane
