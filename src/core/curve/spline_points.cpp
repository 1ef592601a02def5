#include "core/curve/spline_points.h"

#include <algorithm>

#include "core/text/number_format.h"

namespace ostrivane {

TBetaSPLpoints::TBetaSPLpoints(MessageSink& notices) : BetaSpline(false, notices) {
    Nopoints = 0;
}

SplineShape TBetaSPLpoints::shape() const {
    SplineShape out;
    out.points.reserve(static_cast<std::size_t>(std::max(Nopoints, 0)));
    for (int k = 0; k < Nopoints; ++k)
        out.points.push_back({X.Tomatch[k], Y.Tomatch[k], alpha1[k], alpha2[k]});
    out.parts.reserve(NoParts);
    for (int p = 1; p <= NoParts; ++p)
        out.parts.push_back({fromX[p], ToX[p]});
    return out;
}

void TBetaSPLpoints::load_shape(const SplineShape& shape) {
    load_parts(shape.parts);
    load_points(shape.points);
}

void TBetaSPLpoints::load_points(const std::vector<ShapePoint>& points) {
    const int count = static_cast<int>(std::min<std::size_t>(points.size(), kMaxPoints));
    for (int k = 0; k < count; ++k) {
        const ShapePoint& p = points[static_cast<std::size_t>(k)];
        X.Tomatch[k] = p.x;
        Y.Tomatch[k] = p.y;
        alpha1[k] = p.alpha1;
        alpha2[k] = p.alpha2;
    }
    Nopoints = count;
    curve_changed();
    refresh();
}

void TBetaSPLpoints::load_parts(const std::vector<MillingPart>& parts) {
    const int count = static_cast<int>(std::min<std::size_t>(parts.size(), kMaxParts));
    for (int p = 1; p <= count; ++p) {
        fromX[p] = parts[static_cast<std::size_t>(p - 1)].from;
        ToX[p] = parts[static_cast<std::size_t>(p - 1)].to;
    }
    NoParts = static_cast<std::uint16_t>(count);
}

void TBetaSPLpoints::set_data(double aMill_width, double asteps_mm_x, bool Amatchthem) {
    // The resolution always holds a whole number of steps per millimetre.
    const double rounded = round_half_even(asteps_mm_x);
    Nostep = step_count(rounded);
    steps_mm_x = rounded;
    mill_width = aMill_width;
    matchThem = Amatchthem;
}

void TBetaSPLpoints::inc_interval(std::int32_t increm, double minus_x, double maxis_x) {
    if (NumIntervals + increm > 10 && increm != 0) {
        NumIntervals += increm;
        message("Spline is drawn with number of line segments between points: " +
                std::to_string(NumIntervals));
    }
    left_x = minus_x;
    right_x = maxis_x;
}

void TBetaSPLpoints::refresh_boundaries() {
    boundaryValues(X.Tomatch);
    boundaryValues(Y.Tomatch);
}

void TBetaSPLpoints::refresh_vertices() {
    curve_changed();
    if (matchThem) {
        MatchAll(true, true);
    } else {
        X.V = X.Tomatch;
        Y.V = Y.Tomatch;
    }
}

void TBetaSPLpoints::refresh_range() {
    // With no points this reads the boundary slot -1, which always exists.
    XmaxX = X.Tomatch[Nopoints - 1] - match_number;
    XminX = X.Tomatch[0] + match_number;
}

bool TBetaSPLpoints::match_or_copy() {
    curve_changed();
    if (!matchThem) {
        X.V = X.Tomatch;
        Y.V = Y.Tomatch;
        return true;
    }
    return MatchAll(true, true);
}

void TBetaSPLpoints::save_point(double X_value, double Y_value) {
    if (Nopoints >= kMaxPoints) {
        message("Maximum number of spline points exceeded !!!");
        return;
    }
    int k = 0;
    while (k < Nopoints && X_value > X.Tomatch[k])
        ++k;
    if (k < Nopoints && X_value == X.Tomatch[k]) {
        message("Double points are not allowed !!!");
        return;
    }
    // Moved points take their own point as vertex; selection marks stay with their slots.
    for (int j = Nopoints; j > k; --j) {
        X.Tomatch[j] = X.Tomatch[j - 1];
        Y.Tomatch[j] = Y.Tomatch[j - 1];
        X.V[j] = X.Tomatch[j];
        Y.V[j] = Y.Tomatch[j];
        alpha1[j] = alpha1[j - 1];
        alpha2[j] = alpha2[j - 1];
    }
    X.Tomatch[k] = X_value;
    Y.Tomatch[k] = Y_value;
    X.V[k] = X_value;
    Y.V[k] = Y_value;
    alpha1[k] = 1.0;
    alpha2[k] = 1.0;
    ++Nopoints;
    curve_changed();
    boundaryValues(X.Tomatch);
    boundaryValues(Y.Tomatch);
    boundaryValues(X.V);
    boundaryValues(Y.V);
    if (matchThem)
        MatchAll(true, true);
    refresh_range();
}

void TBetaSPLpoints::remove_point_slot(int slot) {
    for (int j = slot; j < Nopoints - 1; ++j) {
        X.Tomatch[j] = X.Tomatch[j + 1];
        Y.Tomatch[j] = Y.Tomatch[j + 1];
        selected[j] = selected[j + 1];
        alpha1[j] = alpha1[j + 1];
        alpha2[j] = alpha2[j + 1];
    }
    --Nopoints;
    curve_changed();
}

void TBetaSPLpoints::destroy_points(double min_x, double min_y, double max_x, double max_y) {
    if (min_x == max_x || min_y == max_y)
        return;
    int k = 0;
    while (k < Nopoints) {
        const double x = X.Tomatch[k];
        const double y = Y.Tomatch[k];
        if (min_x < x && x < max_x && min_y < y && y < max_y) {
            remove_point_slot(k);  // the next point now sits in slot k
        } else {
            ++k;
        }
    }
    refresh();
}

void TBetaSPLpoints::destroy_point(std::int32_t point_counter) {
    // A number outside the set names no point; removing "slot -1" would corrupt the set.
    if (point_counter < 1 || point_counter > Nopoints)
        return;
    remove_point_slot(point_counter - 1);
    refresh();
}

std::uint16_t TBetaSPLpoints::SeekNearest(double X_value, double Y_value) const {
    // Only points closer than 1000 mm are within reach; ties go to the lower number.
    double nearest = 1000000.0;
    std::uint16_t found = 0;
    for (int k = 0; k < Nopoints; ++k) {
        const double dx = X.Tomatch[k] - X_value;
        const double dy = Y.Tomatch[k] - Y_value;
        const double distance = dx * dx + dy * dy;
        if (distance < nearest) {
            nearest = distance;
            found = static_cast<std::uint16_t>(k + 1);
        }
    }
    return found;
}

void TBetaSPLpoints::SeekMove(double X_value, double Y_value) {
    Movable = SeekNearest(X_value, Y_value);
}

void TBetaSPLpoints::movePoint(double X_value, double Y_value) {
    const int m = Movable;
    const bool known = m >= 1 && m <= Nopoints;
    const bool after_previous = m <= 1 || X.Tomatch[m - 2] < X_value;
    const bool before_next = m >= Nopoints || X_value < X.Tomatch[m];
    if (!known || !after_previous || !before_next) {
        refresh_range();
        return;
    }
    const int k = m - 1;
    const double old_x = X.Tomatch[k];
    const double old_y = Y.Tomatch[k];
    X.Tomatch[k] = X_value;
    Y.Tomatch[k] = Y_value;
    refresh_boundaries();
    if (!match_or_copy()) {
        // A position the curve cannot be matched through is not accepted.
        X.Tomatch[k] = old_x;
        Y.Tomatch[k] = old_y;
        refresh_boundaries();
        MatchAll(true, true);
    }
    refresh_range();
}

void TBetaSPLpoints::changeWeight(int slot, double Tension, double Bias) {
    // Slot -1 is a boundary copy that the refresh overwrites again: the curve stays as it was.
    const int k = slot;
    const double old_alpha1 = alpha1[k];
    const double old_alpha2 = alpha2[k];
    alpha2[k] = Bias;
    alpha1[k] = Tension;
    refresh_boundaries();
    if (!match_or_copy()) {
        alpha1[k] = old_alpha1;
        alpha2[k] = old_alpha2;
        refresh_boundaries();
        MatchAll(true, true);
    }
    refresh_range();
}

}  // namespace ostrivane
