#include "core/planner/plank_plan.h"

#include "core/planner/plank_outline.h"
#include "core/text/error.h"

namespace ostrivane {

void PlankPlan::build_list(TBetaSPLpoints& profile, double axis_y, double thickness, double margin,
                           JobContext& job) {
    list = PlankList{};
    list = plank_list(profile, axis_y, thickness, margin, job);
}

void PlankPlan::calculate(const TBetaSPLpoints& profile, const PlanInputs& in, int entry,
                          const PrinterPage& page_, JobContext& job) {
    calculated = false;
    check_plank_thickness(in.thickness);
    check_plan_margin(in.margin);
    check_printer_page(page_);
    if (profile.Nopoints < 2)
        throw Error("The spline does not contain any points");
    plank = choose_plank(list, entry, in.thickness);
    turning_axis_y = in.turning_axis_y;
    page = page_;
    FillSpline(profile, in.turning_axis_y, in.margin, plank.c, planspline, job);
    sizing = size_plan(planspline, in.turning_axis_y, extra_margin, page, job);
    layout = layout_pages(sizing, page, extra_margin);
    caption = PageCaption{};
    if (plank.k >= 0)
        caption.plank = list.entries[static_cast<std::size_t>(plank.k)];
    caption.thickness_text = in.thickness_text;
    caption.margin_text = in.margin_text;
    caption.name = in.name;
    caption.date = in.date;
    caption.scale = sizing.scale;
    caption.turning_axis_y = in.turning_axis_y;
    calculated = true;
}

}  // namespace ostrivane
