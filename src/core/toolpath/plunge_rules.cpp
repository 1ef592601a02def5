#include "core/toolpath/plunge_rules.h"

namespace ostrivane {

PlungeDecision judge_plunge(const PlungeRule& rule, double drawn, double draaias) {
    PlungeDecision d;
    d.written = rule.written;
    d.drawn = drawn;
    double check = rule.check;
    if (rule.written > rule.limit + kPlungeTolerance) {
        // The check and the picture move by as much as the plunge does (they differ from it by
        // the HoldBack at intermediate plunges).
        const double cut_back = rule.written - rule.limit;
        d.written = rule.limit;
        check -= cut_back;
        d.drawn -= cut_back;
        d.limited = true;
    }
    if (check > draaias) {
        d.fault = PlungeFault::axis_cut;
        return d;
    }
    if (rule.full_height < 0 || rule.floor < -kPlungeTolerance) {
        d.fault = PlungeFault::below_home;
        return d;
    }
    if (d.written < 0)
        d.written = 0;
    return d;
}

}  // namespace ostrivane
