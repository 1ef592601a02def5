#pragma once

namespace ostrivane {

// How far a documented plunge may reach past the sound limit before the limit is written
// instead: more than the sampling of the profile can explain, so ordinary jobs keep their bytes.
inline constexpr double kPlungeTolerance = 0.05;

// One plunge of a rough pass as the documented steps compute it, with the sound limits.
struct PlungeRule {
    double check = 0;        // the height compared with the turning axis
    double written = 0;      // the plunge the steps would write
    double full_height = 0;  // profile height plus slot depth, before HoldBack and run share
    double limit = 0;        // lowest profile under the saw, minus HoldBack, plus a slot's depth
    double floor = 0;        // lowest profile under the saw plus a slot's depth
};

enum class PlungeFault { none, axis_cut, below_home };

struct PlungeDecision {
    PlungeFault fault = PlungeFault::none;
    double written = 0;    // what goes into the program: never above the limit, never below 0
    double drawn = 0;      // the saw top the picture shows, consistent with `written`
    bool limited = false;  // the limit replaced the documented plunge
};

// Judges one plunge. A plunge beyond the limit by more than the tolerance is cut back to the
// limit (the saw would otherwise gouge the profile); the turning axis is checked on what is
// cut; the Y home fails the job where the profile itself lies below it (the plunge's own
// height, or the lowest profile anywhere under the blade by more than the tolerance), and a
// plunge the HoldBack or the limit takes below 0 becomes 0. `drawn` starts from the documented
// drawing height.
PlungeDecision judge_plunge(const PlungeRule& rule, double drawn, double draaias);

}  // namespace ostrivane
