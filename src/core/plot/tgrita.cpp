#include "core/plot/tgrita.h"

#include <climits>
#include <cmath>
#include <cstddef>

#include "core/plot/pixel_mapping.h"

// The plot surface's mappings: viewports and windows on the screen and the bitmap side, the
// conversions, the view slots and the messages. The primitives are in tgrita_primitives.cpp.

namespace ostrivane {
namespace {

double aspect_of(double width, double height) {
    return width != 0 ? height / width : 0.0;
}

// The screen sizes are kept in single precision, as the screen's pixel edges are, so its aspect
// is taken from those; the bitmap's comes from the whole pixel counts. The two only part past
// 2^24 pixels, but each side stays consistent with its own edges.
void take_size(GrafBounds& g, int width, int height, bool aspect_from_pixels) {
    g.WidthScr = static_cast<float>(width);
    g.HeightSCR = static_cast<float>(height);
    g.aspect = aspect_from_pixels ? aspect_of(width, height) : aspect_of(g.WidthScr, g.HeightSCR);
}

// Places the viewport edges from fractions of the target's size; true when they fit on it.
bool place_edges(GrafBounds& g, double left, double top, double right, double bottom) {
    g.Left = static_cast<float>(left * g.WidthScr);
    g.Right = static_cast<float>(right * g.WidthScr);
    g.Top = static_cast<float>(top * g.HeightSCR);
    g.Bottom = static_cast<float>(bottom * g.HeightSCR);
    return !(g.Left < 0 || g.Right > g.WidthScr || g.Bottom > g.HeightSCR || g.Top < 0);
}

// Fits the window to the viewport of `g`, widening it about its centre when `guard` is on so
// that a world unit is equally long on both axes. The centre is taken in single precision, so
// that a window stored in a view slot or state file fits to the same pixels when it is set
// again. Returns false, leaving `g`
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

// A view slot stores exactly the mapping: the scales and offsets and the viewport edges, which
// ViewRec and GrafBounds name alike.
template <typename From, typename To>
void copy_mapping(const From& from, To& to) {
    to.AX = from.AX;
    to.AY = from.AY;
    to.BX = from.BX;
    to.BY = from.BY;
    to.Left = from.Left;
    to.Bottom = from.Bottom;
    to.Right = from.Right;
    to.Top = from.Top;
}

}  // namespace

// The path primitives refill `punt` for every call; this is the longest list a curve hands
// over at once, so drawing a curve never grows it.
constexpr std::size_t kLongestPointList = 10000;

Tgrita::Tgrita(Canvas& aplotgrid, MessageLabel* acol_an, bool ashow_reeel, PlotLog log)
    : thecanvas(&aplotgrid), col_an(acol_an), show_reel(ashow_reeel), log_(std::move(log)) {
    punt.points.reserve(kLongestPointList);
    take_size(grbounds, aplotgrid.width(), aplotgrid.height(), false);
    thecanvas->font = Font{"Tahoma", 12.0f};
}

void Tgrita::open_viewport(GrafBounds& g, bool& placed, double xmin, double ymin, double xmax,
                           double ymax, std::string_view exceeds_message) {
    if (xmin >= xmax || ymin >= ymax) {
        Error("illegal viewport specification");
    }
    placed = true;
    g.perc_left = static_cast<float>(xmin);
    g.perc_right = static_cast<float>(xmax);
    g.perc_top = static_cast<float>(ymin);
    g.perc_bottom = static_cast<float>(ymax);
    if (!place_edges(g, xmin, ymin, xmax, ymax)) {
        Error(exceeds_message);
    }
}

void Tgrita::SetViewport(double xmin, double ymin, double xmax, double ymax) {
    open_viewport(grbounds, VpFlag, xmin, ymin, xmax, ymax, "viewport exceeds plotgrid boundaries");
}

void Tgrita::SetViewport_BMP(int aWidth, int aHeight, double xmin, double ymin, double xmax,
                             double ymax) {
    take_size(grbounds_BMP, aWidth, aHeight, true);
    open_viewport(grbounds_BMP, VpFlag_BMP, xmin, ymin, xmax, ymax,
                  "viewport BMP exceeds plotgrid boundaries");
}

bool Tgrita::open_window(GrafBounds& g, bool placed, WindowRec& w, bool guard,
                         std::string_view missing_message, std::string_view illegal_message) {
    if (!placed) {
        Error(missing_message);
    }
    if (w.xmi >= w.xma || w.ymi >= w.yma || g.Right <= g.Left || g.Top >= g.Bottom) {
        Error(illegal_message);
    }
    return fit_window(g, w, guard);
}

void Tgrita::SetWindow(double xmin, double ymin, double xmax, double ymax) {
    WindowRec w{xmin, ymin, xmax, ymax};
    if (open_window(grbounds, VpFlag, w, show_reel, "missing viewport specification",
                    "illegal window specification")) {
        WindowBounds = w;
    }
}

void Tgrita::SetWindow_BMP(double xmin, double ymin, double xmax, double ymax, bool aauto) {
    // The bitmap keeps no window of its own: the screen's WindowBounds stay as they are.
    WindowRec w{xmin, ymin, xmax, ymax};
    open_window(grbounds_BMP, VpFlag_BMP, w, aauto && show_reel,
                "missing BMP viewport specification", "illegal BMP window specification");
}

void Tgrita::refit_viewport(GrafBounds& g, int width, int height, bool aspect_from_pixels) {
    take_size(g, width, height, aspect_from_pixels);
    if (!place_edges(g, g.perc_left, g.perc_top, g.perc_right, g.perc_bottom)) {
        // A resize is the plot control's event, whichever side it refits, so the misfit is
        // reported in the screen's words.
        Error("viewport exceeds plotgrid boundaries");
    }
}

void Tgrita::resize(const Canvas& aplotgrid) {
    refit_viewport(grbounds, aplotgrid.width(), aplotgrid.height(), false);
    // Re-fitting the corrected window can only widen it: the view grows with every resize
    // until the owner sets a window again.
    SetWindow(WindowBounds.xmi, WindowBounds.ymi, WindowBounds.xma, WindowBounds.yma);
}

void Tgrita::resize_BMP(const Canvas& abitmap) {
    refit_viewport(grbounds_BMP, abitmap.width(), abitmap.height(), true);
    SetWindow_BMP(WindowBounds.xmi, WindowBounds.ymi, WindowBounds.xma, WindowBounds.yma, true);
}

void Tgrita::ScreenCoords(double x, double y, float& xuit, float& yuit) const {
    const PointF p = to_pixels(grbounds, x, y);
    xuit = p.x;
    yuit = p.y;
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
    copy_mapping(grbounds, v);
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
    copy_mapping(v, grbounds);
    return true;
}

void Tgrita::Error(std::string_view aMsg) {
    if (log_) {
        log_(aMsg, true);
    }
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
