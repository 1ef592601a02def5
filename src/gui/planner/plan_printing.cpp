#include "gui/planner/plan_printing.h"

#include <QPageLayout>
#include <QPrinter>

namespace ostrivane {

PrinterPage prepare_printer(QPrinter& printer) {
    printer.setResolution(100);
    printer.setPageOrientation(QPageLayout::Portrait);
    PrinterPage page;
    page.dx = printer.logicalDpiX();
    page.dy = printer.logicalDpiY();
    page.PW = printer.width();
    page.PH = printer.height();
    return page;
}

}  // namespace ostrivane
