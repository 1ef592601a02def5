#include "core/planner/plank_list.h"

#include <cmath>

#include "core/curve/spline_points.h"
#include "core/text/error.h"
#include "core/text/number_format.h"

namespace ostrivane {

void check_plank_thickness(double thickness) {
    if (!(thickness > 0))
        throw Error("Plank thickness (mm) must be greater than 0");
}

void check_plan_margin(double margin) {
    if (!(margin >= 0 && margin <= kMaxPlanMargin)) {
        throw Error("Diameter margin (mm) must be from 0 to " + format_general(kMaxPlanMargin) +
                    ", not " + format_general(margin));
    }
}

PlankList make_plank_list(double YminY, double turning_axis_y, double thickness, double margin) {
    check_plank_thickness(thickness);
    check_plan_margin(margin);
    PlankList list;
    list.D = std::fabs(turning_axis_y - YminY) * 2 + margin;
    // Counted in doubles first: a tiny thickness would overflow any integer.
    const double planks = std::floor(list.D / thickness) + 1;
    const double entries = std::ceil(planks / 2);
    if (!std::isfinite(list.D) || !(entries <= kMaxPlankEntries)) {
        throw Error("A blank of " + format_general(list.D) + " mm would need more than " +
                    std::to_string(kMaxPlankEntries) +
                    " plank list entries: choose a thicker plank");
    }
    list.N = static_cast<std::int32_t>(planks);
    const int count = static_cast<int>(entries);
    for (int i = 1; i <= count; ++i) {
        if (i == 1)
            list.entries.emplace_back(list.odd() ? "1 Mid plank" : "2 times Mid plank");
        else
            list.entries.push_back("2 times plank" + std::to_string(i));
    }
    return list;
}

PlankList plank_list(TBetaSPLpoints& profile, double turning_axis_y, double thickness,
                     double margin, JobContext& job) {
    check_plank_thickness(thickness);
    check_plan_margin(margin);
    if (profile.Nopoints < 2)
        throw Error("The spline does not contain any points");
    // A walk that gives up leaves YminY unset; the 300-turn limit keeps a valid YminY.
    if (failed(profile.Calcgradients(&job)) &&
        profile.GradCounter < TBetaSPLpoints::kMaxGradients) {
        if (job.cancelled())
            throw Error("Calculating the plank list was cancelled");
        throw Error("The profile could not be sampled, so its planks cannot be counted");
    }
    return make_plank_list(profile.YminY, turning_axis_y, thickness, margin);
}

PlankChoice choose_plank(const PlankList& list, int entry, double thickness) {
    const int count = static_cast<int>(list.entries.size());
    if (entry < 0 || entry > count) {
        if (count == 0)
            entry = 0;
        else
            throw Error("There is no plank " + std::to_string(entry) + ": the list has " +
                        std::to_string(count) + (count == 1 ? " entry" : " entries"));
    }
    PlankChoice choice;
    choice.entry = entry;
    choice.k = entry - 1;
    // In an odd stack the middle plank straddles the axis, so pair k begins half a plank
    // nearer than k plank thicknesses; its inner face is what the template must cover.
    if (list.odd() && choice.k >= 1)
        choice.c = (choice.k - 0.5) * thickness;
    else
        choice.c = choice.k * thickness;
    return choice;
}

}  // namespace ostrivane
