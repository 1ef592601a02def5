#include "core/scene/profile_drawing.h"

#include <span>
#include <vector>

#include "core/curve/spline_points.h"
#include "core/plot/tgrita.h"
#include "core/toolpath/tgrad.h"

namespace ostrivane {
namespace {
// A chunk ends when its sample count reaches 9999, as the plot's polyline buffers always did.
constexpr int kChunkSamples = 9999;

constexpr Argb kPurple = 0xFF800080u;
constexpr Argb kBlack = 0xFF000000u;
constexpr Argb kGreen = 0xFF008000u;
constexpr Argb kBlue = 0xFF0000FFu;
constexpr Argb kAqua = 0xFF00FFFFu;
// The beam outline: dark enough to show on the white grid and beside the light shading.
constexpr Argb kBeamGrey = 0xFF505050u;
// Where the turning points are marked.
constexpr const char* kTurnMark = "\x1e";

// Samples the curve for drawing and hands over each chunk (horizontal and vertical values, and
// their count).
template <typename DrawChunk>
void sample_chunks(const TBetaSPLpoints& profile, bool use_height, DrawChunk&& draw_chunk) {
    if (profile.Nopoints < 2)
        return;
    const int n = profile.segments();
    const double step =
        static_cast<double>(n) / (static_cast<double>(profile.Nopoints) * profile.NumIntervals);
    std::vector<double> across(kChunkSamples);
    std::vector<double> up(kChunkSamples);
    double t = 0;
    // Chunks are not joined: each starts with the sample after the last one drawn, and the
    // sample at t = n itself is never drawn.
    do {
        int c = 0;
        while (c < kChunkSamples && t < n) {
            const CurvePoint p = profile.evaluate(t);
            across[c] = use_height ? p.y : p.x;
            up[c] = use_height ? p.x : p.y;
            t = t + step;
            ++c;
        }
        draw_chunk(std::span<double>(across), std::span<double>(up), c);
    } while (t < n);
}
}  // namespace

void draw_points(Tgrita& surface, const TBetaSPLpoints& profile, Argb colour) {
    for (int k = 0; k < profile.Nopoints; ++k) {
        surface.Marker(profile.X.Tomatch[k], profile.Y.Tomatch[k], "+",
                       profile.selected[k] ? kCurveRed : colour);
    }
}

void draw_parts(Tgrita& surface, const TBetaSPLpoints& profile, Argb colour) {
    double xmi = 0;
    double xma = 0;
    double ymi = 0;
    double yma = 0;
    surface.GetboundsX(xmi, xma);
    surface.GetboundsY(ymi, yma);
    // Ticks one hundredth of the visible width long.
    const double dx = (xma - xmi) / 100;
    const double dy = (yma - ymi) / 100;
    const double bottom = ymi + dy;
    const double top = yma - dy;
    for (int p = 1; p <= profile.NoParts; ++p) {
        const Argb c = profile.parts_selected[p] ? kCurveRed : colour;
        const double from = profile.fromX[p];
        const double to = profile.ToX[p];
        surface.DrawLine(from, bottom, from, top, c);
        surface.DrawLine(from, top, from + dx, top, c);
        surface.DrawLine(from, bottom, from + dx, bottom, c);
        surface.DrawLine(to, bottom, to, top, c);
        surface.DrawLine(to - dx, top, to, top, c);
        surface.DrawLine(to - dx, bottom, to, bottom, c);
    }
}

void draw_spline(Tgrita& surface, const TBetaSPLpoints& profile, Argb colour, bool use_height,
                 std::optional<double> mirror_axis) {
    sample_chunks(profile, use_height, [&](std::span<double> across, std::span<double> up, int n) {
        surface.Polyline(across, up, n, colour, false);
        if (!mirror_axis)
            return;
        for (int c = 0; c < n; ++c)
            up[c] = 2 * *mirror_axis - up[c];
        surface.Polyline(across, up, n, colour, false);
    });
}

void draw_spline(Tgrita& surface, Canvas& bitmap, const TBetaSPLpoints& profile, Argb colour,
                 bool use_height, float thickness) {
    sample_chunks(profile, use_height, [&](std::span<double> across, std::span<double> up, int n) {
        surface.Polyline_BMP(thickness, bitmap, across, up, n, colour, false);
    });
}

void draw_gradients(Tgrita& surface, TBetaSPLpoints& profile) {
    for (int i = 1; i <= profile.GradCounter; ++i) {
        const double x = profile.GradientsArray[i].positionX;
        surface.Marker(x, profile.YatX(x), kTurnMark, kCurveRed);
    }
}

void draw_axis_and_beam(Tgrita& surface, const TGrad& engine) {
    double xmin = 0;
    double xmax = 0;
    surface.GetboundsX(xmin, xmax);
    surface.DrawLine(xmin, engine.job.draaias, xmax, engine.job.draaias, kAqua);
    surface.SetlineStyle(Dash::DashDotDot, 2);
    const double half = engine.job.thickness / 2;
    surface.DrawLine(xmin, engine.job.draaias + half, xmax, engine.job.draaias + half, kBeamGrey);
    surface.DrawLine(xmin, engine.job.draaias - half, xmax, engine.job.draaias - half, kBeamGrey);
    surface.SetlineStyle(Dash::Solid, 1);
}

void draw_turning_profile(Tgrita& surface, const TGrad& engine) {
    draw_points(surface, engine.profile, kPurple);
    draw_spline(surface, engine.profile, kBlack, false, engine.job.draaias);
    draw_parts(surface, engine.profile, kGreen);
    draw_axis_and_beam(surface, engine);
    draw_points(surface, engine.spline2, kBlue);
    draw_spline(surface, engine.spline2, kBlue, false);
}

}  // namespace ostrivane
