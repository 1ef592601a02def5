#include "gui/solid/solid_view_widget.h"

#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

namespace ostrivane::gui {
namespace {

// Degrees the piece turns per pixel the mouse moves.
constexpr double kTurnPerPixel = 0.4;
constexpr double kZoomPerNotch = 1.15;
constexpr double kTurnPerKey = 10;
constexpr double kNearest = 0.2;
constexpr double kFarthest = 200;

}  // namespace

SolidViewWidget::SolidViewWidget(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(200, 150);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SolidViewWidget::set_mesh(Mesh mesh) {
    view_ = std::make_unique<SolidView>(std::move(mesh));
    fit_asked_ = true;
    update();
}

void SolidViewWidget::fit_if_asked() {
    if (!fit_asked_ || !view_)
        return;
    fit_asked_ = false;
    camera_ = view_->fitted(SolidCamera{}, width(), height());
}

void SolidViewWidget::set_camera(const SolidCamera& camera) {
    camera_ = camera;
    camera_.pitch = std::clamp(camera_.pitch, -90.0, 90.0);
    camera_.zoom = std::clamp(camera_.zoom, kNearest, kFarthest);
    update();
    Q_EMIT camera_changed();
}

void SolidViewWidget::reset_view() {
    fit_asked_ = true;
    fit_if_asked();
    update();
    Q_EMIT camera_changed();
}

QImage SolidViewWidget::picture() {
    if (!view_)
        return {};
    fit_if_asked();
    const SolidImage& image = view_->draw(camera_, width(), height());
    return QImage(reinterpret_cast<const uchar*>(image.pixels.data()), image.width, image.height,
                  image.width * 4, QImage::Format_RGB32)
        .copy();
}

void SolidViewWidget::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    if (!view_) {
        p.fillRect(rect(), QColor::fromRgb(kSolidBackground));
        return;
    }
    fit_if_asked();
    const SolidImage& image = view_->draw(camera_, width(), height());
    // The renderer's pixels are drawn as they are, without a copy.
    const QImage frame(reinterpret_cast<const uchar*>(image.pixels.data()), image.width,
                       image.height, image.width * 4, QImage::Format_RGB32);
    p.drawImage(0, 0, frame);
}

void SolidViewWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton || event->button() == Qt::MiddleButton) {
        fit_if_asked();
        dragging_ = event->button();
        last_ = event->position().toPoint();
        setFocus();
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void SolidViewWidget::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_ == Qt::NoButton)
        return QWidget::mouseMoveEvent(event);
    const QPoint at = event->position().toPoint();
    const QPoint moved = at - last_;
    last_ = at;
    SolidCamera c = camera_;
    if (dragging_ == Qt::LeftButton) {
        c.yaw += moved.x() * kTurnPerPixel;
        c.pitch += moved.y() * kTurnPerPixel;
    } else {
        c.pan_x += moved.x();
        c.pan_y += moved.y();
    }
    set_camera(c);
    event->accept();
}

void SolidViewWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == dragging_)
        dragging_ = Qt::NoButton;
    QWidget::mouseReleaseEvent(event);
}

void SolidViewWidget::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0)
        return QWidget::wheelEvent(event);
    fit_if_asked();
    SolidCamera c = camera_;
    const double factor = std::pow(kZoomPerNotch, notches);
    const double zoom = std::clamp(c.zoom * factor, kNearest, kFarthest);
    // About the pointer: the point under it stays under it.
    const QPointF at = event->position() - QPointF(width() / 2.0, height() / 2.0);
    const double applied = zoom / c.zoom;
    c.pan_x = at.x() - (at.x() - c.pan_x) * applied;
    c.pan_y = at.y() - (at.y() - c.pan_y) * applied;
    c.zoom = zoom;
    set_camera(c);
    event->accept();
}

void SolidViewWidget::keyPressEvent(QKeyEvent* event) {
    // The keys do what the mouse does, for whoever works without one.
    fit_if_asked();
    SolidCamera c = camera_;
    switch (event->key()) {
        case Qt::Key_Home:
        case Qt::Key_R:
            reset_view();
            event->accept();
            return;
        case Qt::Key_Left:
            c.yaw -= kTurnPerKey;
            break;
        case Qt::Key_Right:
            c.yaw += kTurnPerKey;
            break;
        case Qt::Key_Up:
            c.pitch -= kTurnPerKey;
            break;
        case Qt::Key_Down:
            c.pitch += kTurnPerKey;
            break;
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            c.zoom *= kZoomPerNotch;
            break;
        case Qt::Key_Minus:
            c.zoom /= kZoomPerNotch;
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    set_camera(c);
    event->accept();
}

}  // namespace ostrivane::gui
