#pragma once
#include <string>
#include <vector>

#include "core/curve/spline_points.h"
#include "core/planner/page_layout.h"
#include "core/planner/plan_sizing.h"
#include "core/planner/plank_list.h"
#include "core/text/job_context.h"

namespace ostrivane {

// What the plan window reads from its fields and from the editor for one calculation.
struct PlanInputs {
    double turning_axis_y = 100;  // the editor's turn axis position
    double thickness = 18;
    double margin = 10;
    std::string thickness_text = "18";  // the fields' texts, as printed on the pages
    std::string margin_text = "10";
    std::string name = "Karvik";  // the turning job's G-code file name
    std::string date;             // "dd/mm/yyyy"
};

// The plank plan of one profile: the plank list, and for the selected plank its outline, its
// size on the printer's pages and the pages themselves. Computation only; drawing is in
// plan_render.h.
class PlankPlan {
  public:
    static constexpr double kExtraMargin = 10.0;

    // The outline's notices go to `notices` (the plan window's plot surface), and so does
    // its drawing when a surface is given.
    explicit PlankPlan(MessageSink& notices) : planspline(notices) {}

    // The plank list for the editor's profile (on each opening of the window). Throws Error;
    // the list is then empty.
    void build_list(TBetaSPLpoints& profile, double turning_axis_y, double thickness, double margin,
                    JobContext& job);

    // Outline, sizes and pages of list entry `entry` (from 1; 0 for none) on `page`. Throws
    // Error; nothing counts as calculated then.
    void calculate(const TBetaSPLpoints& profile, const PlanInputs& inputs, int entry,
                   const PrinterPage& page, JobContext& job);

    // The lines printed on printed page q (from 1).
    std::vector<std::string> texts(int q) const { return page_texts(q, caption); }

    TBetaSPLpoints planspline;  // open, unmatched, one step per millimetre
    double extra_margin = kExtraMargin;
    PlankList list;
    PlankChoice plank;
    PlanSizing sizing;
    PlanLayout layout;
    PrinterPage page;
    PageCaption caption;
    double turning_axis_y = 0;
    bool calculated = false;
};

}  // namespace ostrivane
