#pragma once
#include <string>
#include <vector>

#include "core/plot/canvas.h"

namespace ostrivane {

// One drawing call as a RecordingCanvas kept it.
struct CanvasCall {
    enum class Kind { Clear, Line, Path, FillPath, Ellipse, FillRect, Rect, Text };
    Kind kind = Kind::Clear;
    std::vector<PointF> points;  // Line: from, to; Path / FillPath: the figure
    bool closed = false;         // Path / FillPath
    RectF rect;                  // Ellipse, FillRect, Rect, Text
    Pen pen;                     // Line, Path, Ellipse, Rect
    Argb color = 0;              // Clear, FillPath, FillRect, Text
    std::string text;            // Text
    Font font;                   // Text
    TextAlign horizontal = TextAlign::Leading;
    TextAlign vertical = TextAlign::Leading;
    bool word_wrap = false;
    float opacity = 1.0f;
};

// A canvas that draws nothing and keeps every call, for tests of whatever draws through a
// plot surface. Text is measured with fixed metrics: each UTF-8 byte is half the font size
// wide, and a line is 1.25 font sizes high.
class RecordingCanvas : public Canvas {
  public:
    RecordingCanvas(int width, int height) : width_(width), height_(height) {}

    int width() const override { return width_; }
    int height() const override { return height_; }
    void set_size(int width, int height) {
        width_ = width;
        height_ = height;
    }

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

    std::vector<CanvasCall> calls;
    int scenes_begun = 0;
    int scenes_ended = 0;
    // A call made outside a begin/end scene pair; drawing code should never do that.
    bool drawn_outside_scene = false;

  private:
    // A new call of `kind`; every drawing call carries its opacity, a clear the full one.
    CanvasCall& record(CanvasCall::Kind kind, float opacity = 1.0f);

    int width_;
    int height_;
    bool in_scene_ = false;
};

}  // namespace ostrivane
