#pragma once
#include <string>
#include <vector>

#include "core/curve/spline_points.h"
#include "core/planner/plank_plan.h"
#include "core/text/message_sink.h"

namespace ostrivane::test {

// Collects notices for the test to look at.
struct NoticeList final : MessageSink {
    using MessageSink::notice;
    void notice(const std::string& text, std::uint32_t, bool) override { texts.push_back(text); }
    std::vector<std::string> texts;
};

// A profile through the given points, matched as the editor's profile is by default (so the
// curve passes through them, and stays straight where they are collinear), at one sample per
// millimetre.
struct Profile {
    explicit Profile(const std::vector<ShapePoint>& points, double steps_mm = 1,
                     bool match = true) {
        set.set_data(3.2, steps_mm, match);
        set.load_points(points);
    }
    NoticeList notices;
    TBetaSPLpoints set{notices};
};

inline std::vector<ShapePoint> line_points(double x0, double y0, double x1, double y1, int n) {
    std::vector<ShapePoint> points;
    for (int i = 0; i < n; ++i) {
        const double f = static_cast<double>(i) / (n - 1);
        points.push_back({x0 + f * (x1 - x0), y0 + f * (y1 - y0)});
    }
    return points;
}

// A whole plan with the default inputs unless a test says otherwise.
struct PlanCase {
    explicit PlanCase(const std::vector<ShapePoint>& points) : profile(points) {}

    PlankPlan& run(int entry = 1, PrinterPage page = {}) {
        inputs.date = "01/02/2025";
        plan.build_list(profile.set, inputs.turning_axis_y, inputs.thickness, inputs.margin, job);
        plan.calculate(profile.set, inputs, entry, page, job);
        return plan;
    }

    Profile profile;
    PlanInputs inputs;
    JobContext job;
    NoticeList plan_notices;
    PlankPlan plan{plan_notices};
};

}  // namespace ostrivane::test
