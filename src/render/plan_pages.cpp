#include "render/plan_pages.h"

#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>

#include "core/planner/plan_render.h"
#include "core/planner/plank_plan.h"
#include "core/text/error.h"
#include "render/image_canvas.h"

namespace ostrivane {

void print_plan_pages(QPagedPaintDevice& device, PlankPlan& plan, Tgrita& grita, QImage& bitmap,
                      bool marks, const std::function<void(int q)>& after_page,
                      const QSizeF& target_size) {
    const int width = page_bitmap_width(plan.page);
    const int height = page_bitmap_height(plan.page);
    bitmap = QImage(width, height, QImage::Format_ARGB32_Premultiplied);
    bitmap.fill(Qt::transparent);
    QPainter painter;
    if (!painter.begin(&device))
        throw Error("The printer could not start the document");
    painter.setBrush(QBrush(Qt::black, Qt::SolidPattern));
    const QRect page_rect(0, 0, width, height);
    const QRectF target(QPointF(0, 0), target_size.isEmpty() ? QSizeF(width, height) : target_size);
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
            device.newPage();
    }
    painter.end();
}

}  // namespace ostrivane
