#include "gui/planner/plan_printing.h"

#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <iostream>
#include <memory>
#include <vector>

#include "core/planner/plan_render.h"
#include "core/planner/plank_plan.h"
#include "core/plot/tgrita.h"
#include "core/text/error.h"
#include "gui/planner/plan_pdf.h"
#include "gui/plot/image_canvas.h"

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

void print_plan_pages(QPrinter& printer, PlankPlan& plan, Tgrita& grita, QImage& bitmap, bool marks,
                      const std::function<void(int q)>& after_page, double vertical_stretch) {
    const int width = page_bitmap_width(plan.page);
    const int height = page_bitmap_height(plan.page);
    bitmap = QImage(width, height, QImage::Format_ARGB32_Premultiplied);
    bitmap.fill(Qt::transparent);
    QPainter painter;
    if (!painter.begin(&printer))
        throw Error("The printer could not start the document");
    painter.setBrush(QBrush(Qt::black, Qt::SolidPattern));
    const QRect page_rect(0, 0, width, height);
    const QRectF target(0, 0, width, height * vertical_stretch);
    const int pages = plan.layout.P;
    for (int i = 0; i < pages; ++i) {
        {
            ImageCanvas canvas(bitmap);
            render_printed_page(plan, i, grita, canvas, marks);
        }
        painter.setOpacity(1.0);
        painter.drawImage(target, bitmap, page_rect);
        if (after_page)
            after_page(i + 1);
        if (i + 1 < pages)
            printer.newPage();
    }
    painter.end();
}

namespace {

// Qt's notes about the platform (a missing runtime folder and the like) are not the command
// line's business; its real errors still reach standard error.
void only_errors(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::cerr << message.toStdString() << '\n';
}

// The offscreen platform needs no display, so the command-line tool works on a server.
std::unique_ptr<QGuiApplication> gui_application() {
    if (QCoreApplication::instance() != nullptr)
        return nullptr;
    qInstallMessageHandler(only_errors);
    static int argc = 3;
    static char name[] = "ostrivane-cli";
    static char platform_option[] = "-platform";
    static char platform[] = "offscreen";
    static char* argv[] = {name, platform_option, platform, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

void write_plan_pdf(const std::filesystem::path& file, PlankPlan& plan, bool marks) {
    if (!plan.calculated)
        throw Error("There is no calculated plan to print");
    const auto app = gui_application();
    // The pages go to a file beside the target, which replaces it once complete.
    std::filesystem::path partial = file;
    partial += ".part";
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(partial.string()));
        printer.setCreator(QStringLiteral("Ostrivane"));
        printer.setDocName(QStringLiteral("Saw plan"));
        printer.setResolution(static_cast<int>(plan.page.dx + 0.5));
        // The paper is exactly the printable page: no margins to shift the template.
        const QSizeF paper(plan.page.PW / plan.page.dx * 25.4, plan.page.PH / plan.page.dy * 25.4);
        printer.setPageLayout(QPageLayout(QPageSize(paper, QPageSize::Millimeter),
                                          QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                          QPageLayout::Millimeter));
        QImage scratch(1, 1, QImage::Format_ARGB32_Premultiplied);
        ImageCanvas screen(scratch);
        Tgrita grita(screen, nullptr, true);
        QImage bitmap;
        try {
            // One resolution serves both directions in a PDF: a printer with other dots per
            // inch across is met by stretching the page.
            print_plan_pages(printer, plan, grita, bitmap, marks, {}, plan.page.dx / plan.page.dy);
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
