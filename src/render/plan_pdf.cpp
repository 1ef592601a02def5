#include "render/plan_pdf.h"

#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QString>

#include "core/planner/plank_plan.h"
#include "core/plot/tgrita.h"
#include "core/text/error.h"
#include "render/image_canvas.h"
#include "render/offscreen_application.h"
#include "render/plan_pages.h"

namespace ostrivane {

void write_plan_pdf(const std::filesystem::path& file, PlankPlan& plan, bool marks) {
    if (!plan.calculated)
        throw Error("There is no calculated plan to print");
    const auto app = offscreen_application();
    // The pages go to a file beside the target, which replaces it once complete.
    std::filesystem::path partial = file;
    partial += ".part";
    {
        QPdfWriter pdf(QString::fromStdString(partial.string()));
        pdf.setCreator(QStringLiteral("Ostrivane"));
        pdf.setTitle(QStringLiteral("Saw plan"));
        pdf.setResolution(static_cast<int>(plan.page.dx + 0.5));
        // The paper is exactly the printable page: no margins to shift the template.
        const QSizeF paper(plan.page.PW / plan.page.dx * 25.4, plan.page.PH / plan.page.dy * 25.4);
        pdf.setPageLayout(QPageLayout(QPageSize(paper, QPageSize::Millimeter),
                                      QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                      QPageLayout::Millimeter));
        QImage scratch(1, 1, QImage::Format_ARGB32_Premultiplied);
        ImageCanvas screen(scratch);
        Tgrita grita(screen, nullptr, true);
        QImage bitmap;
        try {
            // One resolution serves both directions in a PDF: a printer with other dots per
            // inch across is met by stretching the page.
            print_plan_pages(pdf, plan, grita, bitmap, marks, {}, plan.page.dx / plan.page.dy);
        } catch (const Error&) {
            std::error_code ignored;
            std::filesystem::remove(partial, ignored);
            throw Error("Cannot create file " + file.string());
        }
    }
    std::error_code error;
    std::filesystem::rename(partial, file, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
        throw Error("Cannot create file " + file.string() + ": " + error.message());
    }
}

}  // namespace ostrivane
