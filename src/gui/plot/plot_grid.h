#pragma once
#include <QImage>
#include <QWidget>

#include "render/image_canvas.h"

namespace ostrivane {

class PlotGrid;

// The canvas of a plot control: it paints on the control's drawing layer, which is the size of
// the control, and shows the result at once when drawn outside the paint handler.
class PlotGridCanvas : public ImageCanvas {
  public:
    explicit PlotGridCanvas(PlotGrid& grid);
    int width() const override;
    int height() const override;
    bool begin_scene() override;
    void end_scene() override;

  private:
    PlotGrid& grid_;
};

// The plot control: a grid background (a thin line every 5 pixels, a heavy one every 25)
// under a drawing layer. A repaint clears the layer and lets the owner draw it again in its
// paint handler (the plotPaint signal); what is drawn at other times stays until the next
// repaint. The owner asks for a repaint with Repaint(); showing and resizing do it too.
class PlotGrid : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kMinorStep = 5;
    static constexpr int kMajorStep = 25;
    static constexpr QRgb kBackground = 0xFFFFFFFFu;
    static constexpr QRgb kMinorLine = 0xFFE4E4E4u;
    static constexpr QRgb kMajorLine = 0xFFB8B8B8u;

    explicit PlotGrid(QWidget* parent = nullptr);

    // The target to give the plot surface.
    Canvas& canvas() { return canvas_; }
    // Clears the layer and schedules a paint that calls the owner's handler.
    void Repaint();

  Q_SIGNALS:
    // Emitted inside the paint event after the layer was cleared: draw the picture here.
    void plotPaint();
    void plotResized();
    void plotMouseDown(QMouseEvent* event);
    void plotMouseMove(QMouseEvent* event);
    void plotMouseUp(QMouseEvent* event);
    // Arrives ignored: the owner accepts it when it used it.
    void plotWheel(QWheelEvent* event);
    void plotKeyDown(QKeyEvent* event);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    friend class PlotGridCanvas;
    // Gives the layer the control's size; true when it had to be made anew (and is empty).
    bool ensure_layer();
    void refresh_layer();
    void paint_grid(QPainter& p) const;

    QImage layer_;
    PlotGridCanvas canvas_;
    bool dirty_ = true;
    bool in_paint_ = false;
};

}  // namespace ostrivane
