#include <algorithm>
#include <cstddef>

#include "core/plot/pixel_mapping.h"
#include "core/plot/tgrita.h"

// The plot surface's primitives. Each screen form and its bitmap twin draw through one helper
// here, handed the canvas and the mapping (grbounds or grbounds_BMP) it works with.

namespace ostrivane {
namespace {

// Brackets one primitive in the target's begin/end scene pair.
class Scene {
  public:
    explicit Scene(Canvas& canvas) : canvas_(canvas), open_(canvas.begin_scene()) {}
    ~Scene() {
        if (open_) {
            canvas_.end_scene();
        }
    }
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;
    explicit operator bool() const { return open_; }

  private:
    Canvas& canvas_;
    bool open_;
};

// The first n points of a list, never past the end of either coordinate array.
std::size_t usable_points(std::span<const double> xs, std::span<const double> ys, int n) {
    if (n <= 0) {
        return 0;
    }
    return std::min({static_cast<std::size_t>(n), xs.size(), ys.size()});
}

void fill_path(Path& path, const GrafBounds& g, std::span<const double> xs,
               std::span<const double> ys, int n, bool closed) {
    path.clear();
    const std::size_t count = usable_points(xs, ys, n);
    for (std::size_t i = 0; i < count; ++i) {
        path.points.push_back(to_pixels(g, xs[i], ys[i]));
    }
    path.closed = closed;
}

// The line and polyline helpers draw with the target's stroke as the caller left it; only the
// colour is theirs to set.
void draw_line(Canvas& c, const GrafBounds& g, double x1, double y1, double x2, double y2,
               Argb color) {
    c.stroke.color = color;
    if (Scene scene{c}) {
        c.draw_line(to_pixels(g, x1, y1), to_pixels(g, x2, y2), c.stroke, 1.0f);
    }
}

void draw_polyline(Canvas& c, Path& path, const GrafBounds& g, std::span<const double> xs,
                   std::span<const double> ys, int n, Argb color, bool closed) {
    fill_path(path, g, xs, ys, n, closed);
    c.stroke.color = color;
    if (Scene scene{c}) {
        c.draw_path(path, c.stroke, 1.0f);
    }
}

void draw_circle(Canvas& c, const GrafBounds& g, double x1, double y1, double x2, Argb color) {
    c.stroke.color = color;
    const PointF centre = to_pixels(g, x1, y1);
    // The x scale serves both axes, so the circle is round on the target whatever AY is.
    const float r = static_cast<float>(g.AX * x2);
    const RectF square = RectF{centre.x - r, centre.y - r, centre.x + r, centre.y + r}.normalized();
    if (Scene scene{c}) {
        c.draw_ellipse(square, c.stroke, 1.0f);
    }
}

void draw_bar(Canvas& c, const GrafBounds& g, double x1, double y1, double x2, double y2,
              Argb color) {
    c.stroke.color = color;
    const PointF a = to_pixels(g, x1, y1);
    const PointF b = to_pixels(g, x2, y2);
    if (Scene scene{c}) {
        c.fill_rect(RectF{a.x, a.y, b.x, b.y}.normalized(), c.stroke.color, 1.0f);
    }
}

// `mark` centred on the point of `target`, measured on `measure` with that canvas's font.
void draw_marker(Canvas& target, const Canvas& measure, const GrafBounds& g, double x, double y,
                 std::string_view mark, Argb color) {
    const PointF at = to_pixels(g, x, y);
    const float w = measure.text_width(mark, measure.font) / 2;
    const float h = measure.text_height(mark, measure.font) / 2;
    const RectF box{at.x - w, at.y - h, at.x + w, at.y + h};
    if (Scene scene{target}) {
        target.fill_text(box, mark, target.font, color, TextAlign::Center, TextAlign::Center, false,
                         1.0f);
    }
}

void draw_text_at(Canvas& c, const GrafBounds& g, double x, double y, std::string_view s,
                  Argb color, bool use_screen_coords) {
    const PointF at = use_screen_coords ? PointF{static_cast<float>(x), static_cast<float>(y)}
                                        : to_pixels(g, x, y);
    const RectF box{at.x, at.y, at.x + c.text_width(s, c.font), at.y + c.text_height(s, c.font)};
    if (Scene scene{c}) {
        c.fill_text(box, s, c.font, color, TextAlign::Leading, TextAlign::Leading, false, 1.0f);
    }
}

}  // namespace

void Tgrita::DrawLine(double x1, double y1, double x2, double y2, Argb color) {
    draw_line(*thecanvas, grbounds, x1, y1, x2, y2, color);
}

void Tgrita::DrawLine(float thickn, Canvas& aBitmap, double x1, double y1, double x2, double y2,
                      Argb color) {
    aBitmap.stroke.thickness = thickn;
    draw_line(aBitmap, grbounds_BMP, x1, y1, x2, y2, color);
}

void Tgrita::Circle(double x1, double y1, double x2, Argb color) {
    draw_circle(*thecanvas, grbounds, x1, y1, x2, color);
}

void Tgrita::Circle(Canvas& aBitmap, double x1, double y1, double x2, Argb color) {
    draw_circle(aBitmap, grbounds_BMP, x1, y1, x2, color);
}

void Tgrita::Polyline(std::span<const double> xPtr, std::span<const double> yPtr, int n, Argb color,
                      bool close_polygon) {
    draw_polyline(*thecanvas, punt, grbounds, xPtr, yPtr, n, color, close_polygon);
}

void Tgrita::Polyline_BMP(float thickn, Canvas& aBitmap, std::span<const double> xPtr,
                          std::span<const double> yPtr, int n, Argb color, bool close_polygon) {
    aBitmap.stroke.thickness = thickn;
    draw_polyline(aBitmap, punt, grbounds_BMP, xPtr, yPtr, n, color, close_polygon);
}

void Tgrita::FillArea(std::span<const double> xPtr, std::span<const double> yPtr, int n,
                      Argb color) {
    Canvas& c = *thecanvas;
    fill_path(punt, grbounds, xPtr, yPtr, n, true);
    c.stroke.color = color;
    if (Scene scene{c}) {
        c.fill_path(punt, c.stroke.color, 1.0f);
    }
}

void Tgrita::Drawbar(double x1, double y1, double x2, double y2, Argb color) {
    draw_bar(*thecanvas, grbounds, x1, y1, x2, y2, color);
}

void Tgrita::Drawbar(Canvas& aBitmap, double x1, double y1, double x2, double y2, Argb color) {
    draw_bar(aBitmap, grbounds_BMP, x1, y1, x2, y2, color);
}

void Tgrita::Marker(double x, double y, std::string_view mark, Argb color) {
    draw_marker(*thecanvas, *thecanvas, grbounds, x, y, mark, color);
}

void Tgrita::Marker(Canvas& aBitmap, double x, double y, std::string_view mark, Argb color) {
    // Measured with the screen's font, as the marks on screen and bitmap are meant to match.
    draw_marker(aBitmap, *thecanvas, grbounds_BMP, x, y, mark, color);
}

void Tgrita::GraphText(double x, double y, std::string_view s, Argb color, bool Col_animation,
                       bool use_screen_coords) {
    if (Col_animation) {
        if (col_an != nullptr) {
            col_an->start_fade();
        }
        return;
    }
    draw_text_at(*thecanvas, grbounds, x, y, s, color, use_screen_coords);
}

void Tgrita::GraphText(Canvas& aBitmap, double x, double y, float size, std::string_view s,
                       Argb color, bool use_screen_coords) {
    aBitmap.font.size = size;
    draw_text_at(aBitmap, grbounds_BMP, x, y, s, color, use_screen_coords);
}

void Tgrita::Rectangle(float l, float t, float r, float b, Argb abox) {
    Canvas& c = *thecanvas;
    c.stroke.color = abox;
    Pen dashed = c.stroke;
    dashed.dash = Dash::Dash;
    if (Scene scene{c}) {
        c.draw_rect(RectF{l, t, r, b}.normalized(), dashed, 1.0f);
    }
}

void Tgrita::SetlineStyle(Dash dashtype, int thickn) {
    thecanvas->stroke.dash = dashtype;
    thecanvas->stroke.thickness = static_cast<float>(thickn);
}

void Tgrita::WritePixel(int /*ix*/, int /*iy*/, Argb /*color*/) {
    Error("WritePixel not implemented");
}

}  // namespace ostrivane
