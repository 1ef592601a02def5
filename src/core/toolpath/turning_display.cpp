#include <cmath>
#include <span>

#include "core/plot/tgrita.h"
#include "core/toolpath/tgrad.h"

namespace ostrivane {
namespace {
constexpr Argb kPurple = 0xFF800080u;
constexpr Argb kBlack = 0xFF000000u;
constexpr Argb kGreen = 0xFF008000u;
constexpr Argb kBlue = 0xFF0000FFu;
constexpr Argb kAqua = 0xFF00FFFFu;
// The beam outline: dark enough to show on the white grid and beside the light shading.
constexpr Argb kBeamGrey = 0xFF505050u;
constexpr const char* kDot = "\xC2\xB7";  // a middle dot

// The heights of a column (offsets from the axis) whose dots land on the picture.
struct ShadeSpan {
    double lo;
    double hi;
    bool holds(double m) const { return lo <= m && m <= hi; }
};

// Calls `dot(m)` for m = lo, lo + step, … below hi wherever one of the two dots of height m
// lands on the picture; over stretches that show nothing it jumps to the next height that does.
template <typename Dot>
void for_shown_heights(double lo, double hi, double step, ShadeSpan above, ShadeSpan below,
                       const Dot& dot) {
    // The dot at axis + m shows when m lies in `above`, the one at axis - m when it lies in
    // `below`.
    const auto shown = [&](double m) { return above.holds(m) || below.holds(m); };
    double m = lo;
    while (m < hi) {
        if (shown(m)) {
            dot(m);
            const double next = m + step;
            if (!(next > m))
                return;  // steps below the precision of m: the rest of the column is here too
            m = next;
            continue;
        }
        // The lowest start of a shown stretch above m, on the column's grid.
        double to = hi;
        for (const double start : {above.lo, below.lo}) {
            if (start > m && start < to)
                to = start;
        }
        if (!(to < hi))
            return;
        const double jumped = std::fmax(lo + std::ceil((to - lo) / step) * step, m + step);
        if (!(jumped > m))
            return;
        m = jumped;
    }
}
}  // namespace

void TGrad::drawall() {
    draw_points(kPurple);
    draw_spline(kBlack, false);
    draw_part(kGreen);
    drawas();
    spline2.draw_points(kBlue);
    spline2.draw_spline(kBlue, false);
}

void TGrad::drawthespline(std::int32_t noP, Argb acol) {
    TBetaSPLpoints::drawthespline(noP, acol);
    // The silhouette's other half: the profile mirrored about the turning axis.
    for (int c = 0; c < noP && c < interp_data::last; ++c)
        Y_inter[c] = 2 * draaias - Y_inter[c];
    TBetaSPLpoints::drawthespline(noP, acol);
}

void TGrad::drawas() {
    Tgrita* surface = grita();
    if (surface == nullptr)
        return;
    Tgrita& g = *surface;
    double xmin = 0;
    double xmax = 0;
    g.GetboundsX(xmin, xmax);
    g.DrawLine(xmin, draaias, xmax, draaias, kAqua);
    // The beam the workpiece is turned from, centred on the axis.
    g.SetlineStyle(Dash::DashDotDot, 2);
    g.DrawLine(xmin, draaias + thickness / 2, xmax, draaias + thickness / 2, kBeamGrey);
    g.DrawLine(xmin, draaias - thickness / 2, xmax, draaias - thickness / 2, kBeamGrey);
    g.SetlineStyle(Dash::Solid, 1);
}

void TGrad::shade(const std::filesystem::path& data_folder) {
    struct Running {
        bool& flag;
        JobContext* context;
        ~Running() {
            flag = false;
            if (context != nullptr)
                context->progress(1, 1);
        }
    } running{shaderunning, context_};
    shaderunning = true;
    closing = false;
    const ShadingParams params = read_shading_params(data_folder);
    Tgrita* surface = grita();
    if (surface == nullptr)
        return;
    Tgrita& g = *surface;
    double pixX = 0;
    double pixY = 0;
    g.PixelLength(pixX, pixY);
    if (pixX < 0 || pixY < 0) {
        g.GraphMessage(" Pixel length is negative", 0xFFFF0000u, false);
        return;
    }
    // A window without size would give columns that never advance.
    if (!(pixX > 0) || !(pixY > 0))
        return;
    if (Nopoints <= 0)
        return;
    if (context_ != nullptr)
        context_->progress(0, XmaxX - XminX);

    // Only what lands on the picture is drawn (a pixel's margin around it): zoomed in, or with
    // the axis far away, the profile's columns and heights reach far beyond it, and would hold
    // the window for hours. A picture that shows the whole workpiece is drawn dot for dot.
    double view_xmin = 0;
    double view_xmax = 0;
    double view_ymin = 0;
    double view_ymax = 0;
    g.GetboundsX(view_xmin, view_xmax);
    g.GetboundsY(view_ymin, view_ymax);
    const ShadeSpan above{view_ymin - pixY - draaias, view_ymax + pixY - draaias};
    const ShadeSpan below{draaias - view_ymax - pixY, draaias - view_ymin + pixY};

    double X = XminX;
    if (X < view_xmin - pixX)
        X = XminX + std::floor((view_xmin - pixX - XminX) / pixX) * pixX;
    double yprev = YatX(X);
    std::int64_t e = 0;  // the error accumulator runs through the whole picture
    double g_turn = 0;   // columns alternate between the upper and the lower half
    const auto dot = [&](double m, Argb colour) {
        if (thebitmap == nullptr)
            return;
        // A dot off the picture would only be clipped away.
        if (above.holds(m))
            g.Marker(*thebitmap, X, draaias + m, kDot, colour);
        if (below.holds(m))
            g.Marker(*thebitmap, X, draaias - m, kDot, colour);
    };
    while (!closing && X < XmaxX - pixX && X <= view_xmax + pixX) {
        const double r = draaias - yprev;
        const double ynext = YatX(X + pixX);
        yprev = ynext;
        const double c = std::cos(std::atan((r - (draaias - ynext)) / pixX));
        const auto column_dot = [&](double m) {
            const double ratio = m / r;
            const double s = r == 0 ? 0 : std::sqrt(std::fmax(0.0, 1 - ratio * ratio));
            e = e + dot_brightness(params, s, c);
            dot(m, kShadeBrown);
            const Argb colour = dot_colour(e);
            if (colour != kShadeBrown)
                dot(m, colour);
        };
        if (g_turn == 0) {
            for_shown_heights(0, r, pixY, above, below, column_dot);
            g_turn = r;
        } else {
            for_shown_heights(-r, 0, pixY, above, below, column_dot);
            g_turn = 0;
        }
        // Columns narrower than the precision of x would never get anywhere.
        if (!(X + pixX > X))
            break;
        X = X + pixX;
        if (context_ != nullptr) {
            context_->progress(X - XminX, XmaxX - XminX);
            context_->pump();
            if (context_->cancelled())
                closing = true;
        }
    }
}

}  // namespace ostrivane
