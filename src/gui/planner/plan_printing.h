#pragma once
#include <functional>

#include "core/planner/plan_sizing.h"

class QImage;
class QPrinter;

namespace ostrivane {

class PlankPlan;
class Tgrita;

// Sets the printer to 100 x 100 dots per inch and portrait, then reads its printable page in
// dots and its resolution. Portrait comes first, so the size read is the size printed on.
PrinterPage prepare_printer(QPrinter& printer);

// Prints every page of a calculated plan: each page is rendered into `bitmap` (made the size
// of the page) and drawn onto the printer at its top-left corner, one dot per dot (its height
// times `vertical_stretch`). `after_page` runs after each page is drawn (the window shows it and
// lets events through). Throws Error when the printer cannot start a document.
void print_plan_pages(QPrinter& printer, PlankPlan& plan, Tgrita& grita, QImage& bitmap, bool marks,
                      const std::function<void(int q)>& after_page = {},
                      double vertical_stretch = 1.0);

}  // namespace ostrivane
