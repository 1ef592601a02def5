#pragma once
#include <QPoint>
#include <QWidget>
#include <memory>

#include "core/solid/solid_view.h"

namespace ostrivane::gui {

// A piece in three dimensions, drawn by the core's renderer into an image the size of the
// widget. Left button drag turns it, the wheel zooms about the pointer, middle button drag
// moves it; the arrow keys turn it too, + and - zoom, and Home (or R) shows it as it was first
// seen: from the front left, filling the widget.
class SolidViewWidget final : public QWidget {
    Q_OBJECT
  public:
    explicit SolidViewWidget(QWidget* parent = nullptr);

    void set_mesh(Mesh mesh);
    const SolidCamera& camera() const { return camera_; }
    void set_camera(const SolidCamera& camera);
    void reset_view();
    // The picture as it was last drawn (for tests and screenshots).
    QImage picture();

  Q_SIGNALS:
    void camera_changed();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    // A new piece, or a reset, is fitted to the widget once the widget has its size.
    void fit_if_asked();

    std::unique_ptr<SolidView> view_;
    bool fit_asked_ = true;
    SolidCamera camera_;
    Qt::MouseButton dragging_ = Qt::NoButton;
    QPoint last_;
};

}  // namespace ostrivane::gui
