#include "core/scene/workpiece_shading.h"

#include <cmath>
#include <cstdint>

#include "core/plot/tgrita.h"
#include "core/text/job_context.h"
#include "core/toolpath/shading_model.h"
#include "core/toolpath/tgrad.h"

namespace ostrivane {
namespace {
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

// The columns of the picture, left to right, until the profile ends or the shading is stopped.
void shade_columns(Tgrita& g, Canvas* bitmap, TGrad& engine, const ShadingParams& params,
                   JobContext* context) {
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
    if (engine.profile.Nopoints <= 0)
        return;
    if (context != nullptr)
        context->progress(0, engine.profile.XmaxX - engine.profile.XminX);

    // Only what lands on the picture is drawn (a pixel's margin around it): zoomed in, or with
    // the axis far away, the profile's columns and heights reach far beyond it, and would hold
    // the window for hours. A picture that shows the whole workpiece is drawn dot for dot.
    double view_xmin = 0;
    double view_xmax = 0;
    double view_ymin = 0;
    double view_ymax = 0;
    g.GetboundsX(view_xmin, view_xmax);
    g.GetboundsY(view_ymin, view_ymax);
    const double axis = engine.job.draaias;
    const ShadeSpan above{view_ymin - pixY - axis, view_ymax + pixY - axis};
    const ShadeSpan below{axis - view_ymax - pixY, axis - view_ymin + pixY};

    double X = engine.profile.XminX;
    if (X < view_xmin - pixX)
        X = engine.profile.XminX +
            std::floor((view_xmin - pixX - engine.profile.XminX) / pixX) * pixX;
    double yprev = engine.profile.YatX(X);
    std::int64_t e = 0;  // the error accumulator runs through the whole picture
    double g_turn = 0;   // columns alternate between the upper and the lower half
    const auto dot = [&](double m, Argb colour) {
        if (bitmap == nullptr)
            return;
        // A dot off the picture would only be clipped away.
        if (above.holds(m))
            g.Marker(*bitmap, X, engine.job.draaias + m, kDot, colour);
        if (below.holds(m))
            g.Marker(*bitmap, X, engine.job.draaias - m, kDot, colour);
    };
    while (!engine.closing && X < engine.profile.XmaxX - pixX && X <= view_xmax + pixX) {
        const double r = engine.job.draaias - yprev;
        const double ynext = engine.profile.YatX(X + pixX);
        yprev = ynext;
        const double c = std::cos(std::atan((r - (engine.job.draaias - ynext)) / pixX));
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
        if (context != nullptr) {
            context->progress(X - engine.profile.XminX,
                              engine.profile.XmaxX - engine.profile.XminX);
            context->pump();
            if (context->cancelled())
                engine.closing = true;
        }
    }
}

}  // namespace

void shade_workpiece(Tgrita& surface, Canvas* bitmap, TGrad& engine,
                     const std::filesystem::path& data_folder, JobContext* context) {
    const auto finished = [&] {
        engine.shaderunning = false;
        if (context != nullptr)
            context->progress(1, 1);
    };
    engine.shaderunning = true;
    engine.closing = false;
    try {
        shade_columns(surface, bitmap, engine, read_shading_params(data_folder), context);
    } catch (...) {
        finished();
        throw;
    }
    finished();
}

}  // namespace ostrivane
