#pragma once
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QString>
#include <cstdint>
#include <optional>
#include <string>

#include "core/plot/canvas.h"

namespace ostrivane {

QColor to_qcolor(Argb color);
QFont to_qfont(const Font& font);

// The QPainter drawing target onto a QImage: the simulation bitmap, a printer page, or the
// layer of a plot control. The image is not owned and must outlive the canvas. A painter is
// held from the outermost begin_scene to its matching end_scene, so a host that brackets a
// whole picture keeps one painter for all the primitives inside; a call outside a scene paints
// on its own. Like the painter it wraps, a canvas is used from one thread at a time.
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
    // A core font converted for Qt once, with what has been measured with it. A plot draws
    // hundreds of one-character markers in one font, and converting and measuring again for
    // each of them cost more than drawing them.
    struct ConvertedFont {
        ConvertedFont(const Font& core, std::uint64_t id);
        Font core;
        QFont font;
        QFontMetricsF metrics;
        float height;
        std::uint64_t id;  // tells conversions apart, so a painter knows whether it has this one
        std::string measured_text;
        std::optional<float> measured_width;  // of measured_text
    };

    // The conversion of `font`, made anew only when it differs from the last one asked for.
    ConvertedFont& converted(const Font& font) const;
    // `text` as a QString; the last one is kept, as markers repeat one text.
    const QString& qt_text(std::string_view text) const;

    // Runs `paint` with the scene's painter, or with a painter of its own outside a scene.
    template <typename Paint>
    void paint_with(float opacity, Paint&& paint);
    // Gives the painter the font unless it already has this very conversion.
    void set_font(QPainter& p, const ConvertedFont& font);

    QImage* image_;
    std::optional<QPainter> scene_;
    int scene_depth_ = 0;
    // The conversion the scene's painter holds as its font (0: none of ours). Other painter
    // state needs no such record: QPainter itself ignores setting a pen, brush or opacity it
    // already has.
    std::uint64_t scene_font_id_ = 0;

    mutable std::optional<ConvertedFont> font_;
    mutable std::uint64_t conversions_ = 0;
    mutable std::optional<std::string> text_;
    mutable QString qtext_;
};

}  // namespace ostrivane
