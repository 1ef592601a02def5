#include "core/toolpath/plunge_rules.h"

#include <gtest/gtest.h>

#include <limits>

namespace ostrivane {
namespace {

constexpr double kNone = std::numeric_limits<double>::infinity();

TEST(PlungeRules, Table) {
    struct Case {
        const char* name;
        PlungeRule rule;
        PlungeFault fault;
        double written;
        bool limited;
    };
    const Case cases[] = {
        {"as documented", {6, 6, 6, 6}, PlungeFault::none, 6, false},
        {"within the sampling tolerance", {6.04, 6.04, 6.04, 6}, PlungeFault::none, 6.04, false},
        {"a gouge is cut back to the profile", {10.3, 10.3, 10.3, 6}, PlungeFault::none, 6, true},
        {"intermediate: HoldBack taken after the check",
         {1.5, -0.5, 1.5, -0.5},
         PlungeFault::none,
         0,
         false},
        {"listed: an early run below home is cut at 0",
         {5.0 / 3 - 2, 5.0 / 3 - 2, 5, 3},
         PlungeFault::none,
         0,
         false},
        {"the profile itself below home",
         {-0.1, -0.1, -0.1, kNone},
         PlungeFault::below_home,
         0,
         false},
        {"beyond the turning axis", {100.5, 100.5, 100.5, kNone}, PlungeFault::axis_cut, 0, false},
        {"a gouge beyond the axis is cut back first",
         {101, 101, 101, 99},
         PlungeFault::none,
         99,
         true},
        {"the profile under the blade below home beyond the tolerance",
         {3, 3, 3, -2.56, -2.5},
         PlungeFault::below_home,
         0,
         false},
        {"the profile under the blade below home within the tolerance",
         {3, 3, 3, -0.04, -0.04},
         PlungeFault::none,
         0,
         true},
        {"a slot deeper than the profile is below home",
         {-1, -1, -1, kNone},
         PlungeFault::below_home,
         0,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PlungeDecision d = judge_plunge(c.rule, c.rule.check, 100);
        EXPECT_EQ(d.fault, c.fault);
        if (c.fault == PlungeFault::none) {
            EXPECT_EQ(d.written, c.written);
            EXPECT_EQ(d.limited, c.limited);
        }
    }
}

TEST(PlungeRules, CutBackMovesTheCheckAndThePictureAlike) {
    // An intermediate plunge: checked and drawn without the HoldBack, written with it.
    const PlungeDecision d = judge_plunge({12, 10, 12, 7}, 12, 100);
    EXPECT_TRUE(d.limited);
    EXPECT_EQ(d.written, 7);
    EXPECT_EQ(d.drawn, 9);
}

}  // namespace
}  // namespace ostrivane
