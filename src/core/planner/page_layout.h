#pragma once
#include <optional>
#include <string>
#include <vector>

#include "core/planner/plan_sizing.h"

namespace ostrivane {

// A world window as the plot surface takes it: the horizontal range first, then the vertical.
struct PageWindow {
    double xmin = 0;
    double ymin = 0;
    double xmax = 0;
    double ymax = 0;
    friend bool operator==(const PageWindow&, const PageWindow&) = default;
};

// One printed page: its number, the part of the template it holds (`segment` counts template
// lengths from the template's start, `x_from` … `x_to` in profile x) and its world window.
struct PlanPage {
    int q = 1;
    int segment = 0;
    double x_from = 0;
    double x_to = 0;
    PageWindow window;
};

// The pages of a template. Printed pages run along the template, except with use_height, where
// page 1 holds its far end; the preview always starts at the template's start.
struct PlanLayout {
    double L = 0;                     // page length along the template, mm
    double W = 0;                     // template millimetres per page
    int P = 0;                        // number of pages
    std::vector<PlanPage> pages;      // in print order
    std::vector<PageWindow> preview;  // entry j shows segment j
};

// No plan is printed on more pages than this: 500 A4 pages make a template of 100 m.
inline constexpr int kMaxPlanPages = 500;

// Throws Error when the template would need more than kMaxPlanPages pages.
PlanLayout layout_pages(const PlanSizing& sizing, const PrinterPage& page, double extra_margin);

// The world window of template segment j (0 = the template's start).
PageWindow segment_window(const PlanSizing& sizing, const PrinterPage& page, double extra_margin,
                          double W, int j);

// What a page says about itself, besides the template.
struct PageCaption {
    std::optional<std::string> plank;  // the selected list entry; none: no plank line
    std::string thickness_text;        // the fields' texts as typed
    std::string margin_text;
    std::string name;  // the turning job's G-code file name
    std::string date;  // "dd/mm/yyyy"
    double scale = 1;
    double turning_axis_y = 0;
};

// The lines printed on page q, top to bottom: the plank line (only when a plank is selected),
// the program line and the axis line.
std::vector<std::string> page_texts(int q, const PageCaption& caption);

// Today's date in the program's short date format, "dd/mm/yyyy".
std::string short_date_today();

}  // namespace ostrivane
