#include <span>

#include "core/curve/spline_points.h"
#include "core/plot/tgrita.h"

namespace ostrivane {

namespace {
// The last buffer slot stays unused: a chunk ends when its sample count reaches 9999.
constexpr int kChunkSamples = 9999;

std::span<const double> samples(const interp_data& buffer) {
    return {buffer.begin_ptr(), interp_data::size};
}
}  // namespace

void TBetaSPLpoints::draw_points(Argb acol) {
    if (theGrita == nullptr)
        return;
    for (int k = 0; k < Nopoints; ++k) {
        theGrita->Marker(X.Tomatch[k], Y.Tomatch[k], "+", selected[k] ? kCurveRed : acol);
    }
}

void TBetaSPLpoints::draw_part(Argb acol) {
    if (theGrita == nullptr)
        return;
    double xmi = 0;
    double xma = 0;
    double ymi = 0;
    double yma = 0;
    theGrita->GetboundsX(xmi, xma);
    theGrita->GetboundsY(ymi, yma);
    // Brackets [ ] over the visible height, ticks one hundredth of the visible width long.
    const double dx = (xma - xmi) / 100;
    const double dy = (yma - ymi) / 100;
    const double bottom = ymi + dy;
    const double top = yma - dy;
    for (int p = 1; p <= NoParts; ++p) {
        const Argb color = parts_selected[p] ? kCurveRed : acol;
        const double from = fromX[p];
        const double to = ToX[p];
        theGrita->DrawLine(from, bottom, from, top, color);
        theGrita->DrawLine(from, top, from + dx, top, color);
        theGrita->DrawLine(from, bottom, from + dx, bottom, color);
        theGrita->DrawLine(to, bottom, to, top, color);
        theGrita->DrawLine(to - dx, top, to, top, color);
        theGrita->DrawLine(to - dx, bottom, to, bottom, color);
    }
}

template <typename DrawChunk>
void TBetaSPLpoints::sample_chunks(bool use_height, DrawChunk&& draw_chunk) {
    if (Nopoints < 2)
        return;
    const int n = segments();
    const double step = static_cast<double>(n) / (static_cast<double>(Nopoints) * NumIntervals);
    double t = 0;
    // Chunks are not joined: each starts with the sample after the last one drawn, and the
    // sample at t = n itself is never drawn.
    do {
        int c = 0;
        while (c < kChunkSamples && t < n) {
            double x = 0;
            double y = 0;
            evaluate(t, x, y);
            X_inter[c] = use_height ? y : x;
            Y_inter[c] = use_height ? x : y;
            t = t + step;
            ++c;
        }
        draw_chunk(c);
    } while (t < n);
}

void TBetaSPLpoints::draw_spline(Argb acol, bool use_height) {
    if (theGrita == nullptr)
        return;
    sample_chunks(use_height, [&](int count) { drawthespline(count, acol); });
}

void TBetaSPLpoints::drawthespline(std::int32_t noP, Argb acol) {
    if (theGrita == nullptr)
        return;
    theGrita->Polyline(samples(X_inter), samples(Y_inter), noP, acol, false);
}

void TBetaSPLpoints::draw_spline_BMP(Canvas& aBitmap, Argb acol, bool use_height, float thickn) {
    if (theGrita == nullptr)
        return;
    sample_chunks(use_height, [&](int count) { drawthespline_BMP(aBitmap, count, acol, thickn); });
}

void TBetaSPLpoints::drawthespline_BMP(Canvas& aBitmap, std::int32_t noP, Argb acol, float thickn) {
    if (theGrita == nullptr)
        return;
    theGrita->Polyline_BMP(thickn, aBitmap, samples(X_inter), samples(Y_inter), noP, acol, false);
}

}  // namespace ostrivane
