#include "core/editor/profile_engine.h"

namespace ostrivane {
namespace {
constexpr Argb kPurple = 0xFF800080u;
constexpr Argb kBlack = 0xFF000000u;
constexpr Argb kGreen = 0xFF008000u;
constexpr Argb kBlue = 0xFF0000FFu;
constexpr Argb kAqua = 0xFF00FFFFu;
constexpr Argb kWhite = 0xFFFFFFFFu;
}  // namespace

void ProfileEngine::set_data(double Amill_width, double Asteps_mm_X, double Adraaias,
                             double Athickness, bool Asecond_spline, bool Amatch1, bool Amatch2) {
    TBetaSPLpoints::set_data(Amill_width, Asteps_mm_X, Amatch1);
    spline2.set_data(Amill_width, Asteps_mm_X, Amatch2);
    draaias = Adraaias;
    thickness = Athickness;
    second_spline = Asecond_spline;
}

void ProfileEngine::drawall() {
    draw_points(kPurple);
    draw_spline(kBlack, false);
    draw_part(kGreen);
    drawas();
    spline2.draw_points(kBlue);
    spline2.draw_spline(kBlue, false);
}

void ProfileEngine::drawthespline(std::int32_t noP, Argb acol) {
    TBetaSPLpoints::drawthespline(noP, acol);
    // The other half of the silhouette: the profile mirrored about the turning axis.
    for (int c = 0; c < noP && c <= interp_data::last; ++c)
        Y_inter[c] = 2 * draaias - Y_inter[c];
    TBetaSPLpoints::drawthespline(noP, acol);
}

void ProfileEngine::drawas() {
    if (theGrita == nullptr)
        return;
    Tgrita& g = *theGrita;
    double xmin = 0;
    double xmax = 0;
    g.GetboundsX(xmin, xmax);
    g.DrawLine(xmin, draaias, xmax, draaias, kAqua);
    g.SetlineStyle(Dash::DashDotDot, 2);
    g.DrawLine(xmin, draaias + thickness / 2, xmax, draaias + thickness / 2, kWhite);
    g.DrawLine(xmin, draaias - thickness / 2, xmax, draaias - thickness / 2, kWhite);
    g.SetlineStyle(Dash::Solid, 1);
}

}  // namespace ostrivane
