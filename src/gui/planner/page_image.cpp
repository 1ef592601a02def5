#include "gui/planner/page_image.h"

#include <QPainter>

#include "gui/plot/picture_accessibility.h"

namespace ostrivane::gui {

PageImage::PageImage(QWidget* parent) : QWidget(parent) {
    show_as_picture(this);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setAccessibleName(QStringLiteral("Page preview"));
    hide();
}

void PageImage::show_as(Mode mode) {
    mode_ = mode;
    show();
    raise();
    update();
}

QRectF PageImage::target() const {
    if (bitmap_.isNull())
        return {};
    if (mode_ == Mode::Unscaled)
        return QRectF(QPointF(0, 0), QSizeF(bitmap_.size()));
    const QSizeF fitted = QSizeF(bitmap_.size()).scaled(QSizeF(size()), Qt::KeepAspectRatio);
    return QRectF(QPointF((width() - fitted.width()) / 2, (height() - fitted.height()) / 2),
                  fitted);
}

void PageImage::paintEvent(QPaintEvent*) {
    if (bitmap_.isNull())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform, mode_ == Mode::Fitted);
    p.drawImage(target(), bitmap_);
    // The page's edge, so the preview shows where the paper ends.
    p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(target().adjusted(0, 0, -1, -1));
}

}  // namespace ostrivane::gui
