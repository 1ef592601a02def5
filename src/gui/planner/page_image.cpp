#include "gui/planner/page_image.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>

namespace ostrivane::gui {

namespace {

// Screen readers and GUI robots see the page as a picture, which they can point at.
QAccessibleInterface* page_as_picture(const QString& class_name, QObject* object) {
    if (class_name == QLatin1String(PageImage::staticMetaObject.className()) && object != nullptr &&
        object->isWidgetType()) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic);
    }
    return nullptr;
}

}  // namespace

PageImage::PageImage(QWidget* parent) : QWidget(parent) {
    static const bool installed = [] {
        QAccessible::installFactory(page_as_picture);
        return true;
    }();
    (void)installed;
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
