#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ostrivane {

// A colour as 0xAARRGGBB; 0xFFFF0000 is opaque red. Callers that pass -1 get opaque white.
using Argb = std::uint32_t;

// Positions and sizes on a drawing target, in pixels from its top-left corner. Pixel values
// are single precision throughout, as the mapping hands them out.
struct PointF {
    float x = 0;
    float y = 0;
    friend bool operator==(const PointF&, const PointF&) = default;
};

struct RectF {
    float left = 0;
    float top = 0;
    float right = 0;
    float bottom = 0;
    float width() const { return right - left; }
    float height() const { return bottom - top; }
    // The same rectangle with left <= right and top <= bottom.
    RectF normalized() const;
    friend bool operator==(const RectF&, const RectF&) = default;
};

// The stroke-dash kinds a toolkit canvas offers. Custom without a pattern draws solid.
enum class Dash { Solid, Dash, Dot, DashDot, DashDotDot, Custom };

struct Pen {
    Argb color = 0xFF000000u;
    float thickness = 1.0f;
    Dash dash = Dash::Solid;
    friend bool operator==(const Pen&, const Pen&) = default;
};

struct Font {
    std::string family = "Tahoma";
    float size = 12.0f;  // in pixels
    friend bool operator==(const Font&, const Font&) = default;
};

enum class TextAlign { Leading, Center, Trailing };

// One figure of straight segments, closed back to its first point when `closed`.
struct Path {
    std::vector<PointF> points;
    bool closed = false;
    void clear() {
        points.clear();  // keeps the capacity, so a reused path stops allocating
        closed = false;
    }
};

// A drawing target: the plot control, an off-screen bitmap, a printer page, or a recorder in
// tests. The drawing calls take their pen and colours explicitly; the state below is what a
// toolkit canvas keeps between calls (the plot surface sets it and later calls rely on it),
// so it belongs to the target, not to whoever draws on it.
class Canvas {
  public:
    virtual ~Canvas() = default;

    // Size of the target in whole pixels.
    virtual int width() const = 0;
    virtual int height() const = 0;

    // Brackets each drawing operation. Nothing is drawn when begin_scene returns false.
    virtual bool begin_scene() { return true; }
    virtual void end_scene() {}

    virtual void clear(Argb color) = 0;
    virtual void draw_line(PointF from, PointF to, const Pen& pen, float opacity) = 0;
    virtual void draw_path(const Path& path, const Pen& pen, float opacity) = 0;
    virtual void fill_path(const Path& path, Argb color, float opacity) = 0;
    // Outline of the ellipse inscribed in `bounds`.
    virtual void draw_ellipse(const RectF& bounds, const Pen& pen, float opacity) = 0;
    // Square corners.
    virtual void fill_rect(const RectF& rect, Argb color, float opacity) = 0;
    virtual void draw_rect(const RectF& rect, const Pen& pen, float opacity) = 0;
    // `text` (UTF-8) laid out inside `rect` with the given alignment on each axis.
    virtual void fill_text(const RectF& rect, std::string_view text, const Font& font, Argb color,
                           TextAlign horizontal, TextAlign vertical, bool word_wrap,
                           float opacity) = 0;
    virtual float text_width(std::string_view text, const Font& font) const = 0;
    virtual float text_height(std::string_view text, const Font& font) const = 0;

    // Kept between calls, like a toolkit canvas's stroke, fill and font.
    Pen stroke;
    Argb fill = 0xFF000000u;
    Font font;
};

}  // namespace ostrivane
