#include "render/plan_pdf.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include "core/planner/plank_plan.h"
#include "core/plot/tgrita.h"
#include "core/text/error.h"
#include "core/text/file_io.h"
#include "render/image_canvas.h"
#include "render/offscreen_application.h"
#include "render/plan_pages.h"

namespace ostrivane {
namespace {

// The PDF's own unit: fine enough that placing a page image by it costs no measurable length.
// Each page image keeps the printer's dots; only where it lies is given in this unit, so a
// resolution that is not a whole number (or differs across and down) still prints true to scale.
constexpr int kPdfResolution = 7200;

}  // namespace

std::string plan_pdf(PlankPlan& plan, bool marks) {
    if (!plan.calculated)
        throw Error("There is no calculated plan to print");
    const auto app = offscreen_application();
    const PrinterPage& page = plan.page;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setCreator(QStringLiteral("Ostrivane"));
        pdf.setTitle(QStringLiteral("Saw plan"));
        pdf.setResolution(kPdfResolution);
        // The paper is exactly the printable page: no margins to shift the template.
        const QSizeF paper(page.PW / page.dx * 25.4, page.PH / page.dy * 25.4);
        pdf.setPageLayout(QPageLayout(QPageSize(paper, QPageSize::Millimeter),
                                      QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                      QPageLayout::Millimeter));
        QImage scratch(1, 1, QImage::Format_ARGB32_Premultiplied);
        ImageCanvas screen(scratch);
        Tgrita grita(screen, nullptr, true);
        QImage bitmap;
        const QSizeF target(page.PW * kPdfResolution / page.dx, page.PH * kPdfResolution / page.dy);
        print_plan_pages(pdf, plan, grita, bitmap, marks, {}, target);
    }
    return buffer.data().toStdString();
}

void write_plan_pdf(const std::filesystem::path& file, PlankPlan& plan, bool marks) {
    write_file_atomically(file, plan_pdf(plan, marks));
}

}  // namespace ostrivane
