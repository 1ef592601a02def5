#pragma once
#include <QImage>
#include <QWidget>

namespace ostrivane::gui {

// The page bitmap of the plan window, laid over its plot: hidden, shown dot for dot from the
// top-left corner while pages are printed, or fitted into the plot (centred, proportions kept)
// for the preview, where it covers the page's window exactly as the plot shows it. The mouse
// passes through to the plot.
class PageImage : public QWidget {
    Q_OBJECT
  public:
    enum class Mode { Unscaled, Fitted };

    explicit PageImage(QWidget* parent = nullptr);

    QImage& bitmap() { return bitmap_; }
    Mode mode() const { return mode_; }
    void show_as(Mode mode);
    // Where the bitmap is drawn, in the widget's coordinates.
    QRectF target() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage bitmap_;
    Mode mode_ = Mode::Fitted;
};

}  // namespace ostrivane::gui
