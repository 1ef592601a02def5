#pragma once
#include "core/planner/page_layout.h"
#include "core/plot/canvas.h"

namespace ostrivane {

class PlankPlan;
class Tgrita;

inline constexpr Argb kPlanBlue = 0xFF0000FFu;
inline constexpr Argb kPlanRed = 0xFFFF0000u;
inline constexpr Argb kPlanBlack = 0xFF000000u;
inline constexpr float kPlanTextSize = 24.0f;

// The size of a page bitmap in whole dots.
int page_bitmap_width(const PrinterPage& page);
int page_bitmap_height(const PrinterPage& page);

// Puts a page's world window on both targets of the surface: the plot control (where the
// aspect-ratio guard may widen it) and the page bitmap (exactly as given).
void show_page_window(Tgrita& grita, const PageWindow& window, const PrinterPage& page);

// Renders printed page `index` (from 0, in print order) into the page bitmap: its window on
// both targets, the text lines, the marks for joining pages when asked for (a 100 mm scale bar
// with its length beside it and short marks where the next page takes over), the outline and
// the axis line.
void render_printed_page(PlankPlan& plan, int index, Tgrita& grita, Canvas& bitmap, bool marks);

// Renders preview entry j (from 0; segment j of the template, whatever the print order): the
// outline and the axis line, without texts or marks.
void render_preview_page(PlankPlan& plan, int j, Tgrita& grita, Canvas& bitmap);

// The outline (red) and the axis line (blue) on the plot control, through its current window.
void paint_plan(PlankPlan& plan, Tgrita& grita);

}  // namespace ostrivane
