#include "core/plot/tgrita.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>

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

PointF map(const GrafBounds& g, double x, double y) {
    return {static_cast<float>(x * g.AX + g.BX), static_cast<float>(y * g.AY + g.BY)};
}

double aspect_of(double width, double height) {
    return width != 0 ? height / width : 0.0;
}

// Places the viewport edges from its fractions; true when it fits the target.
bool place_viewport(GrafBounds& g) {
    g.Left = static_cast<float>(static_cast<double>(g.perc_left) * g.WidthScr);
    g.Right = static_cast<float>(static_cast<double>(g.perc_right) * g.WidthScr);
    g.Top = static_cast<float>(static_cast<double>(g.perc_top) * g.HeightSCR);
    g.Bottom = static_cast<float>(static_cast<double>(g.perc_bottom) * g.HeightSCR);
    return !(g.Left < 0 || g.Right > g.WidthScr || g.Bottom > g.HeightSCR || g.Top < 0);
}

// Fits the window to the viewport of `g`, widening it about its centre when `guard` is on so
// that a world unit is equally long on both axes. The centre is taken in single precision,
// which is what every stored window has always been fitted with. Returns false, leaving `g`
// and the window alone, when the viewport or window is empty and no finite mapping exists.
bool fit_window(GrafBounds& g, WindowRec& w, bool guard) {
    double xmin = w.xmi;
    double ymin = w.ymi;
    double xmax = w.xma;
    double ymax = w.yma;
    const double width = static_cast<double>(g.Right) - static_cast<double>(g.Left);
    const double height = static_cast<double>(g.Bottom) - static_cast<double>(g.Top);
    if (guard) {
        const double A = std::fabs((xmax - xmin) / width);
        const double B = std::fabs((ymax - ymin) / height);
        if (B > A) {
            const double c = static_cast<float>((xmin + xmax) / 2);
            xmax = c + B * width / 2;
            xmin = c - B * width / 2;
        } else {
            const double c = static_cast<float>((ymin + ymax) / 2);
            ymax = c + A * height / 2;
            ymin = c - A * height / 2;
        }
    }
    const double AX = width / (xmax - xmin);
    const double BX = -AX * xmin;
    const double AY = (static_cast<double>(g.Top) - static_cast<double>(g.Bottom)) / (ymax - ymin);
    const double BY = -AY * ymax;
    for (double v : {AX, BX, AY, BY, xmin, ymin, xmax, ymax}) {
        if (!std::isfinite(v)) {
            return false;
        }
    }
    g.AX = AX;
    g.BX = BX;
    g.AY = AY;
    g.BY = BY;
    w = {xmin, ymin, xmax, ymax};
    return true;
}

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
        path.points.push_back(map(g, xs[i], ys[i]));
    }
    path.closed = closed;
}

RectF centred_text_rect(const Canvas& measure, const Font& font, std::string_view text, PointF at) {
    const float w = measure.text_width(text, font) / 2;
    const float h = measure.text_height(text, font) / 2;
    return {at.x - w, at.y - h, at.x + w, at.y + h};
}

}  // namespace

// The path primitives refill `punt` for every call; this is the longest list a curve hands
// over at once, so drawing a curve never grows it.
constexpr std::size_t kLongestPointList = 10000;

Tgrita::Tgrita(Canvas& aplotgrid, MessageLabel* acol_an, bool ashow_reeel, PlotLog log)
    : thecanvas(&aplotgrid), col_an(acol_an), show_reel(ashow_reeel), log_(std::move(log)) {
    punt.points.reserve(kLongestPointList);
    grbounds.WidthScr = static_cast<float>(aplotgrid.width());
    grbounds.HeightSCR = static_cast<float>(aplotgrid.height());
    grbounds.aspect = aspect_of(grbounds.WidthScr, grbounds.HeightSCR);
    thecanvas->font = Font{"Tahoma", 12.0f};
}

void Tgrita::SetViewport(double xmin, double ymin, double xmax, double ymax) {
    if (xmin >= xmax || ymin >= ymax) {
        Error("illegal viewport specification");
    }
    VpFlag = true;
    GrafBounds& g = grbounds;
    g.perc_left = static_cast<float>(xmin);
    g.perc_right = static_cast<float>(xmax);
    g.perc_top = static_cast<float>(ymin);
    g.perc_bottom = static_cast<float>(ymax);
    g.Left = static_cast<float>(xmin * g.WidthScr);
    g.Right = static_cast<float>(xmax * g.WidthScr);
    g.Top = static_cast<float>(ymin * g.HeightSCR);
    g.Bottom = static_cast<float>(ymax * g.HeightSCR);
    if (g.Left < 0 || g.Right > g.WidthScr || g.Bottom > g.HeightSCR || g.Top < 0) {
        Error("viewport exceeds plotgrid boundaries");
    }
}

void Tgrita::SetViewport_BMP(int aWidth, int aHeight, double xmin, double ymin, double xmax,
                             double ymax) {
    GrafBounds& g = grbounds_BMP;
    g.WidthScr = static_cast<float>(aWidth);
    g.HeightSCR = static_cast<float>(aHeight);
    g.aspect = aspect_of(aWidth, aHeight);
    if (xmin >= xmax || ymin >= ymax) {
        Error("illegal viewport specification");
    }
    VpFlag_BMP = true;
    g.perc_left = static_cast<float>(xmin);
    g.perc_right = static_cast<float>(xmax);
    g.perc_top = static_cast<float>(ymin);
    g.perc_bottom = static_cast<float>(ymax);
    g.Left = static_cast<float>(xmin * g.WidthScr);
    g.Right = static_cast<float>(xmax * g.WidthScr);
    g.Top = static_cast<float>(ymin * g.HeightSCR);
    g.Bottom = static_cast<float>(ymax * g.HeightSCR);
    if (g.Left < 0 || g.Right > g.WidthScr || g.Bottom > g.HeightSCR || g.Top < 0) {
        Error("viewport BMP exceeds plotgrid boundaries");
    }
}

void Tgrita::SetWindow(double xmin, double ymin, double xmax, double ymax) {
    const GrafBounds& g = grbounds;
    if (!VpFlag) {
        Error("missing viewport specification");
    }
    if (xmin >= xmax || ymin >= ymax || g.Right <= g.Left || g.Top >= g.Bottom) {
        Error("illegal window specification");
    }
    WindowRec w{xmin, ymin, xmax, ymax};
    if (fit_window(grbounds, w, show_reel)) {
        WindowBounds = w;
    }
}

void Tgrita::SetWindow_BMP(double xmin, double ymin, double xmax, double ymax, bool aauto) {
    const GrafBounds& g = grbounds_BMP;
    if (!VpFlag_BMP) {
        Error("missing BMP viewport specification");
    }
    if (xmin >= xmax || ymin >= ymax || g.Right <= g.Left || g.Top >= g.Bottom) {
        Error("illegal BMP window specification");
    }
    // The bitmap keeps no window of its own: the screen's WindowBounds stay as they are.
    WindowRec w{xmin, ymin, xmax, ymax};
    fit_window(grbounds_BMP, w, aauto && show_reel);
}

void Tgrita::resize(const Canvas& aplotgrid) {
    GrafBounds& g = grbounds;
    g.WidthScr = static_cast<float>(aplotgrid.width());
    g.HeightSCR = static_cast<float>(aplotgrid.height());
    g.aspect = aspect_of(g.WidthScr, g.HeightSCR);
    if (!place_viewport(g)) {
        Error("viewport exceeds plotgrid boundaries");
    }
    // Re-fitting the corrected window can only widen it: the view grows with every resize
    // until the owner sets a window again.
    SetWindow(WindowBounds.xmi, WindowBounds.ymi, WindowBounds.xma, WindowBounds.yma);
}

void Tgrita::resize_BMP(const Canvas& abitmap) {
    GrafBounds& g = grbounds_BMP;
    g.WidthScr = static_cast<float>(abitmap.width());
    g.HeightSCR = static_cast<float>(abitmap.height());
    g.aspect = aspect_of(abitmap.width(), abitmap.height());
    if (!place_viewport(g)) {
        Error("viewport exceeds plotgrid boundaries");
    }
    SetWindow_BMP(WindowBounds.xmi, WindowBounds.ymi, WindowBounds.xma, WindowBounds.yma, true);
}

void Tgrita::ScreenCoords(double x, double y, float& xuit, float& yuit) const {
    xuit = static_cast<float>(x * grbounds.AX + grbounds.BX);
    yuit = static_cast<float>(y * grbounds.AY + grbounds.BY);
}

void Tgrita::Coords(double x, double y, float& xuit, float& yuit) const {
    xuit = static_cast<float>((x - grbounds.BX) / grbounds.AX);
    yuit = static_cast<float>((y - grbounds.BY) / grbounds.AY);
}

void Tgrita::PixelLength(double& pixX, double& pixY) const {
    const GrafBounds& g = grbounds;
    pixX = (WindowBounds.xma - WindowBounds.xmi) /
           (static_cast<double>(g.Right) - static_cast<double>(g.Left));
    pixY = (WindowBounds.yma - WindowBounds.ymi) /
           (static_cast<double>(g.Bottom) - static_cast<double>(g.Top));
}

void Tgrita::GetboundsX(double& mi, double& ma) const {
    mi = WindowBounds.xmi;
    ma = WindowBounds.xma;
}

void Tgrita::GetboundsY(double& mi, double& ma) const {
    mi = WindowBounds.ymi;
    ma = WindowBounds.yma;
}

void Tgrita::CheckIfInWindow(double& x, double& y) const {
    const WindowRec& w = WindowBounds;
    const bool inside = w.xmi <= x && x <= w.xma && w.ymi <= y && y <= w.yma;
    if (!inside) {
        x = (w.xmi + w.xma) / 2;
        y = (w.ymi + w.yma) / 2;
    }
}

int Tgrita::StoreView(int ViewID) {
    if (ViewID == 0) {
        if (LastViewID < INT_MAX) {
            ++LastViewID;
        }
        ViewID = LastViewID;
    }
    if (ViewID < 1 || ViewID > kViewSlots) {
        return 0;
    }
    ViewRec& v = ViewRecArr[static_cast<std::size_t>(ViewID - 1)];
    const GrafBounds& g = grbounds;
    v.AX = g.AX;
    v.AY = g.AY;
    v.BX = g.BX;
    v.BY = g.BY;
    v.Left = g.Left;
    v.Bottom = g.Bottom;
    v.Right = g.Right;
    v.Top = g.Top;
    v.box_color = BoxColor;
    v.box_shown = true;
    v.bounds = WindowBounds;
    v.in_use = true;
    return ViewID;
}

bool Tgrita::UseView(int ViewID) {
    if (ViewID < 1 || ViewID > kViewSlots) {
        return false;
    }
    const ViewRec& v = ViewRecArr[static_cast<std::size_t>(ViewID - 1)];
    if (!v.in_use) {
        return false;
    }
    // Only the mapping comes back; the window (and with it the bounds, pixel length and the
    // re-fit on resize) stays that of the last SetWindow.
    GrafBounds& g = grbounds;
    g.AX = v.AX;
    g.AY = v.AY;
    g.BX = v.BX;
    g.BY = v.BY;
    g.Left = v.Left;
    g.Right = v.Right;
    g.Top = v.Top;
    g.Bottom = v.Bottom;
    return true;
}

void Tgrita::Error(std::string_view aMsg) {
    if (log_) {
        log_(aMsg, true);
    }
}

void Tgrita::DrawLine(double x1, double y1, double x2, double y2, Argb color) {
    Canvas& c = *thecanvas;
    c.stroke.color = color;
    if (Scene scene{c}) {
        c.draw_line(map(grbounds, x1, y1), map(grbounds, x2, y2), c.stroke, 1.0f);
    }
}

void Tgrita::DrawLine(float thickn, Canvas& aBitmap, double x1, double y1, double x2, double y2,
                      Argb color) {
    aBitmap.stroke.color = color;
    aBitmap.stroke.thickness = thickn;
    if (Scene scene{aBitmap}) {
        aBitmap.draw_line(map(grbounds_BMP, x1, y1), map(grbounds_BMP, x2, y2), aBitmap.stroke,
                          1.0f);
    }
}

namespace {

void draw_circle(Canvas& c, const GrafBounds& g, double x1, double y1, double x2, Argb color) {
    c.stroke.color = color;
    const PointF centre = map(g, x1, y1);
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
    const PointF a = map(g, x1, y1);
    const PointF b = map(g, x2, y2);
    if (Scene scene{c}) {
        c.fill_rect(RectF{a.x, a.y, b.x, b.y}.normalized(), c.stroke.color, 1.0f);
    }
}

}  // namespace

void Tgrita::Circle(double x1, double y1, double x2, Argb color) {
    draw_circle(*thecanvas, grbounds, x1, y1, x2, color);
}

void Tgrita::Circle(Canvas& aBitmap, double x1, double y1, double x2, Argb color) {
    draw_circle(aBitmap, grbounds_BMP, x1, y1, x2, color);
}

void Tgrita::Polyline(std::span<const double> xPtr, std::span<const double> yPtr, int n, Argb color,
                      bool close_polygon) {
    Canvas& c = *thecanvas;
    fill_path(punt, grbounds, xPtr, yPtr, n, close_polygon);
    c.stroke.color = color;
    if (Scene scene{c}) {
        c.draw_path(punt, c.stroke, 1.0f);
    }
}

void Tgrita::Polyline_BMP(float thickn, Canvas& aBitmap, std::span<const double> xPtr,
                          std::span<const double> yPtr, int n, Argb color, bool close_polygon) {
    fill_path(punt, grbounds_BMP, xPtr, yPtr, n, close_polygon);
    aBitmap.stroke.color = color;
    aBitmap.stroke.thickness = thickn;
    if (Scene scene{aBitmap}) {
        aBitmap.draw_path(punt, aBitmap.stroke, 1.0f);
    }
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
    Canvas& c = *thecanvas;
    const RectF box = centred_text_rect(c, c.font, mark, map(grbounds, x, y));
    if (Scene scene{c}) {
        c.fill_text(box, mark, c.font, color, TextAlign::Center, TextAlign::Center, false, 1.0f);
    }
}

void Tgrita::Marker(Canvas& aBitmap, double x, double y, std::string_view mark, Argb color) {
    // Measured with the screen's font, as the marks on screen and bitmap are meant to match.
    const Canvas& screen = *thecanvas;
    const RectF box = centred_text_rect(screen, screen.font, mark, map(grbounds_BMP, x, y));
    if (Scene scene{aBitmap}) {
        aBitmap.fill_text(box, mark, aBitmap.font, color, TextAlign::Center, TextAlign::Center,
                          false, 1.0f);
    }
}

namespace {

void draw_text_at(Canvas& c, const GrafBounds& g, double x, double y, std::string_view s,
                  Argb color, bool use_screen_coords) {
    const PointF at =
        use_screen_coords ? PointF{static_cast<float>(x), static_cast<float>(y)} : map(g, x, y);
    const RectF box{at.x, at.y, at.x + c.text_width(s, c.font), at.y + c.text_height(s, c.font)};
    if (Scene scene{c}) {
        c.fill_text(box, s, c.font, color, TextAlign::Leading, TextAlign::Leading, false, 1.0f);
    }
}

}  // namespace

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

void Tgrita::GraphMessage(std::string_view Msg, Argb /*color*/, bool critic) {
    if (col_an != nullptr) {
        col_an->set_text(Msg);
    }
    // Logged even when no label is attached or its window is hidden.
    if (log_) {
        log_(Msg, critic);
    }
    if (col_an != nullptr) {
        col_an->start_fade();
    }
}

double Tgrita::grit_expo(double x) {
    if (x >= 55) {
        return 1e38;
    }
    if (x <= -55) {
        return 1e-38;
    }
    return std::exp(x);
}

}  // namespace ostrivane
