#pragma once
#include <QImage>
#include <QWidget>
#include <functional>

namespace ostrivane::gui {

// The plot area of the editor: the plot, the shading image over it and the labels on it, laid
// out by the owner whenever the area changes size.
class PlotArea : public QWidget {
    Q_OBJECT
  public:
    explicit PlotArea(QWidget* parent = nullptr);
    std::function<void()> on_resize;

  protected:
    void resizeEvent(QResizeEvent* event) override;
};

// The simulation bitmap shown over the plot: where it is clear the drawing shows through. The
// mouse goes through it to the plot.
class ShadingImage : public QWidget {
    Q_OBJECT
  public:
    ShadingImage(const QImage& image, QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const QImage& image_;
};

}  // namespace ostrivane::gui
