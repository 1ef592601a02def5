#pragma once
#include <QImage>
#include <QPainter>
#include <optional>

#include "core/plot/canvas.h"

class QFont;

namespace ostrivane {

QColor to_qcolor(Argb color);
QFont to_qfont(const Font& font);

// The QPainter drawing target onto a QImage: the simulation bitmap, a printer page, or the
// layer of a plot control. The image is not owned and must outlive the canvas. A painter is
// held from the outermost begin_scene to its matching end_scene, so a host that brackets a
// whole picture keeps one painter for all the primitives inside; a call outside a scene paints
// on its own.
class ImageCanvas : public Canvas {
  public:
    explicit ImageCanvas(QImage& image) : image_(&image) {}
    ~ImageCanvas() override;
    ImageCanvas(const ImageCanvas&) = delete;
    ImageCanvas& operator=(const ImageCanvas&) = delete;

    QImage& image() { return *image_; }
    // Points the canvas at another image (ending a scene in progress, however deep).
    void set_image(QImage& image);
    // Ends the scene in progress at once, however deep: before the image itself changes.
    void abandon_scene();

    int width() const override { return image_->width(); }
    int height() const override { return image_->height(); }

    bool begin_scene() override;
    void end_scene() override;

    void clear(Argb color) override;
    void draw_line(PointF from, PointF to, const Pen& pen, float opacity) override;
    void draw_path(const Path& path, const Pen& pen, float opacity) override;
    void fill_path(const Path& path, Argb color, float opacity) override;
    void draw_ellipse(const RectF& bounds, const Pen& pen, float opacity) override;
    void fill_rect(const RectF& rect, Argb color, float opacity) override;
    void draw_rect(const RectF& rect, const Pen& pen, float opacity) override;
    void fill_text(const RectF& rect, std::string_view text, const Font& font, Argb color,
                   TextAlign horizontal, TextAlign vertical, bool word_wrap,
                   float opacity) override;
    float text_width(std::string_view text, const Font& font) const override;
    float text_height(std::string_view text, const Font& font) const override;

  private:
    // Runs `paint` with the scene's painter, or with a painter of its own outside a scene.
    template <typename Paint>
    void paint_with(float opacity, Paint&& paint);

    QImage* image_;
    std::optional<QPainter> scene_;
    int scene_depth_ = 0;
};

}  // namespace ostrivane
