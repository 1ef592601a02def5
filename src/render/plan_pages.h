#pragma once
#include <QSizeF>
#include <functional>

class QImage;
class QPagedPaintDevice;

namespace ostrivane {

class PlankPlan;
class Tgrita;

// Paints every page of a calculated plan onto a paged device (a printer, a PDF): each page is
// rendered into `bitmap` (made the size of the page) and drawn onto the device at its top-left
// corner, one dot per dot, or filling `target` (in device units) when one is given.
// `after_page` runs after each page is drawn (the window shows it and lets events through).
// Throws Error when the device cannot start a document.
void print_plan_pages(QPagedPaintDevice& device, PlankPlan& plan, Tgrita& grita, QImage& bitmap,
                      bool marks, const std::function<void(int q)>& after_page = {},
                      const QSizeF& target = {});

}  // namespace ostrivane
