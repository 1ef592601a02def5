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
    if (engine.Nopoints <= 0)
        return;
    if (context != nullptr)
        context->progress(0, engine.XmaxX - engine.XminX);

    double X = engine.XminX;
    double yprev = engine.YatX(X);
    std::int64_t e = 0;  // the error accumulator runs through the whole picture
    double g_turn = 0;   // columns alternate between the upper and the lower half
    const auto dot = [&](double m, Argb colour) {
        if (bitmap == nullptr)
            return;
        g.Marker(*bitmap, X, engine.draaias + m, kDot, colour);
        g.Marker(*bitmap, X, engine.draaias - m, kDot, colour);
    };
    while (!engine.closing && X < engine.XmaxX - pixX) {
        const double r = engine.draaias - yprev;
        const double ynext = engine.YatX(X + pixX);
        yprev = ynext;
        const double c = std::cos(std::atan((r - (engine.draaias - ynext)) / pixX));
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
        if (context != nullptr) {
            context->progress(X - engine.XminX, engine.XmaxX - engine.XminX);
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
