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
constexpr Argb kWhite = 0xFFFFFFFFu;
constexpr const char* kDot = "\xC2\xB7";  // a middle dot
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
    g.DrawLine(xmin, draaias + thickness / 2, xmax, draaias + thickness / 2, kWhite);
    g.DrawLine(xmin, draaias - thickness / 2, xmax, draaias - thickness / 2, kWhite);
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

    double X = XminX;
    double yprev = YatX(X);
    std::int64_t e = 0;  // the error accumulator runs through the whole picture
    double g_turn = 0;   // columns alternate between the upper and the lower half
    const auto dot = [&](double m, Argb colour) {
        if (thebitmap == nullptr)
            return;
        g.Marker(*thebitmap, X, draaias + m, kDot, colour);
        g.Marker(*thebitmap, X, draaias - m, kDot, colour);
    };
    while (!closing && X < XmaxX - pixX) {
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
            for (double m = 0; m < r; m = m + pixY)
                column_dot(m);
            g_turn = r;
        } else {
            for (double m = -r; m < 0; m = m + pixY)
                column_dot(m);
            g_turn = 0;
        }
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
