#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "core/text/job_context.h"

namespace ostrivane {

class TBetaSPLpoints;

// The planks a turned piece is glued up from: a stack of N planks of one thickness, symmetric
// about the turning axis, listed as the middle plank (or middle pair) and one entry per pair
// outside it.
struct PlankList {
    double D = 0;        // the blank's diameter with its margin, in millimetres
    std::int32_t N = 0;  // planks in the stack
    std::vector<std::string> entries;

    bool odd() const { return N % 2 != 0; }
};

// No list is longer than this; a thinner plank is almost certainly a typing error.
inline constexpr int kMaxPlankEntries = 10000;

// Refuses a thickness that is not above 0 (it would divide by zero or give an endless list).
void check_plank_thickness(double thickness);

// The diameter margin lies from 0 (the blank is the turned piece's size) to kMaxPlanMargin.
inline constexpr double kMaxPlanMargin = 1000;
// Throws Error for a margin outside that range: a negative one would make a blank smaller than
// the piece, or a diameter below 0.
void check_plan_margin(double margin);

// The list for a profile whose lowest sampled y is `YminY`. Throws Error when the thickness is
// not above 0 or the list would be longer than kMaxPlankEntries.
PlankList make_plank_list(double YminY, double turning_axis_y, double thickness, double margin);

// The list for the editor's profile: its turning points are computed first (for its YminY).
// Throws Error for a profile of fewer than two points ("The spline does not contain any
// points"), for the cases of make_plank_list, and when the profile cannot be sampled.
PlankList plank_list(TBetaSPLpoints& profile, double turning_axis_y, double thickness,
                     double margin, JobContext& job);

// The plank whose template is made: `entry` counts list entries from 1 (0: none selected).
// `k` is the entry's index from 0 (-1 for none) and `c` the distance of the plank's inner face
// from the turning axis.
struct PlankChoice {
    int entry = 0;
    int k = -1;
    double c = 0;
};

// Throws Error when `entry` is beyond the list. An empty list always selects none.
PlankChoice choose_plank(const PlankList& list, int entry, double thickness);

}  // namespace ostrivane
