#include "gui/plot/plot_grid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

#include "gui/plot/picture_accessibility.h"

namespace ostrivane {

PlotGridCanvas::PlotGridCanvas(PlotGrid& grid) : ImageCanvas(grid.layer_), grid_(grid) {}

int PlotGridCanvas::width() const {
    return grid_.width();
}
int PlotGridCanvas::height() const {
    return grid_.height();
}

bool PlotGridCanvas::begin_scene() {
    grid_.ensure_layer();
    return ImageCanvas::begin_scene();
}

void PlotGridCanvas::end_scene() {
    ImageCanvas::end_scene();
    // Drawn outside the paint handler: show it now (it lasts until the next repaint).
    if (!grid_.in_paint_) {
        grid_.update();
    }
}

PlotGrid::PlotGrid(QWidget* parent) : QWidget(parent), canvas_(*this) {
    show_as_picture(this);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool PlotGrid::ensure_layer() {
    // The layer has the screen's pixel density, so drawings stay sharp on high-density screens;
    // painters on it still work in the control's own coordinates.
    const qreal ratio = devicePixelRatioF();
    const QSize size = (QSizeF(this->size().expandedTo(QSize(1, 1))) * ratio).toSize();
    if (layer_.size() == size && layer_.devicePixelRatio() == ratio) {
        return false;
    }
    canvas_.abandon_scene();
    layer_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
    layer_.setDevicePixelRatio(ratio);
    layer_.fill(Qt::transparent);
    canvas_.set_image(layer_);
    dirty_ = true;  // the owner's picture is gone with the old layer
    return true;
}

void PlotGrid::Repaint() {
    dirty_ = true;
    update();
}

void PlotGrid::refresh_layer() {
    ensure_layer();
    if (!dirty_) {
        return;
    }
    dirty_ = false;
    layer_.fill(Qt::transparent);
    in_paint_ = true;
    Q_EMIT plotPaint();
    in_paint_ = false;
}

void PlotGrid::paint_grid(QPainter& p) const {
    p.fillRect(rect(), QColor::fromRgba(kBackground));
    const QColor minor = QColor::fromRgba(kMinorLine);
    const QColor major = QColor::fromRgba(kMajorLine);
    // Minor lines first, so the heavy ones lie on top where they meet.
    for (const bool heavy : {false, true}) {
        p.setPen(QPen(heavy ? major : minor, 1));
        const int step = heavy ? kMajorStep : kMinorStep;
        for (int x = step; x < width(); x += step) {
            p.drawLine(x, 0, x, height() - 1);
        }
        for (int y = step; y < height(); y += step) {
            p.drawLine(0, y, width() - 1, y);
        }
    }
}

void PlotGrid::paintEvent(QPaintEvent* /*event*/) {
    refresh_layer();
    QPainter p(this);
    paint_grid(p);
    p.drawImage(0, 0, layer_);
}

void PlotGrid::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Qt repeats resize events of a hidden widget without a change of size; only a new size
    // loses the picture.
    if (ensure_layer()) {
        Q_EMIT plotResized();
    }
}

void PlotGrid::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    dirty_ = true;
}

void PlotGrid::mousePressEvent(QMouseEvent* event) {
    Q_EMIT plotMouseDown(event);
}
void PlotGrid::mouseMoveEvent(QMouseEvent* event) {
    Q_EMIT plotMouseMove(event);
}
void PlotGrid::mouseReleaseEvent(QMouseEvent* event) {
    Q_EMIT plotMouseUp(event);
}
void PlotGrid::wheelEvent(QWheelEvent* event) {
    // An owner that does not zoom leaves the wheel to what lies around the plot (a scroll area).
    event->ignore();
    Q_EMIT plotWheel(event);
}
void PlotGrid::keyPressEvent(QKeyEvent* event) {
    Q_EMIT plotKeyDown(event);
}

}  // namespace ostrivane
