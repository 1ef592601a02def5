#include <benchmark/benchmark.h>

#include <memory>

#include "core/curve/spline_points.h"
#include "core/plot/canvas.h"
#include "core/plot/tgrita.h"
#include "core/scene/profile_drawing.h"
#include "literal_yatx.h"

namespace ostrivane {
namespace {

// A target that draws nothing: the curve code is measured, not a canvas.
class NullCanvas : public Canvas {
  public:
    int width() const override { return 800; }
    int height() const override { return 600; }
    void clear(Argb) override {}
    void draw_line(PointF, PointF, const Pen&, float) override {}
    void draw_path(const Path&, const Pen&, float) override {}
    void fill_path(const Path&, Argb, float) override {}
    void draw_ellipse(const RectF&, const Pen&, float) override {}
    void fill_rect(const RectF&, Argb, float) override {}
    void draw_rect(const RectF&, const Pen&, float) override {}
    void fill_text(const RectF&, std::string_view, const Font&, Argb, TextAlign, TextAlign, bool,
                   float) override {}
    float text_width(std::string_view, const Font&) const override { return 0; }
    float text_height(std::string_view, const Font&) const override { return 0; }
};

// A wavy profile of `points` points over 1500 mm, with varied shape values.
struct Profile {
    explicit Profile(int points) {
        for (int k = 0; k < points; ++k) {
            const double x = 1500.0 * k / (points - 1);
            set.save_point(x, 40 + 15 * ((k * 7919) % 13) / 13.0);
            set.alpha1[k] = 1 + (k % 3) * 0.5;
            set.alpha2[k] = 1 + (k % 5);
        }
        set.boundaryValues(set.X.Tomatch);
        set.boundaryValues(set.Y.Tomatch);
        set.X.V = set.X.Tomatch;
        set.Y.V = set.Y.Tomatch;
        set.curve_changed();
    }
    NullCanvas canvas;
    Tgrita grita{canvas, nullptr, true, [](std::string_view, bool) {}};
    TBetaSPLpoints set{grita};
};

void BM_evaluate(benchmark::State& state) {
    Profile profile(static_cast<int>(state.range(0)));
    const double n = profile.set.segments();
    double t = 0;
    for (auto _ : state) {
        double x = 0, y = 0;
        profile.set.evaluate(t, x, y);
        benchmark::DoNotOptimize(x);
        benchmark::DoNotOptimize(y);
        t += 0.37;
        if (t >= n)
            t -= n;
    }
}
BENCHMARK(BM_evaluate)->Arg(10)->Arg(100)->Arg(1000);

void BM_MatchAll(benchmark::State& state) {
    Profile profile(static_cast<int>(state.range(0)));
    bool converged = true;
    for (auto _ : state) {
        converged = profile.set.MatchAll(true, true);
        benchmark::DoNotOptimize(profile.set.X.V[1]);
    }
    state.counters["passes"] = profile.set.match_passes;
    state.counters["converged"] = converged;
}
BENCHMARK(BM_MatchAll)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_draw_spline(benchmark::State& state) {
    Profile profile(static_cast<int>(state.range(0)));
    profile.grita.SetViewport(0, 0, 1, 1);
    profile.grita.SetWindow(0, 0, 1500, 100);
    for (auto _ : state)
        draw_spline(profile.grita, profile.set, 0xFF0000FFu, false);
}
BENCHMARK(BM_draw_spline)->Arg(10)->Arg(1000)->Unit(benchmark::kMicrosecond);

// x positions spread over the profile, left of it and right of it.
double query_x(int i) {
    return -20 + (i * 7919 % 1540);
}

void BM_YatX_Literal(benchmark::State& state) {
    Profile profile(static_cast<int>(state.range(0)));
    int i = 0;
    double oldtime = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(test::literal_YatX(profile.set, query_x(i++), oldtime));
    }
}
BENCHMARK(BM_YatX_Literal)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_YatX(benchmark::State& state) {
    Profile profile(static_cast<int>(state.range(0)));
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(profile.set.YatX(query_x(i++)));
}
BENCHMARK(BM_YatX)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

// A 1500 mm profile of 100 points at 10 and 1000 samples per millimetre.
void BM_Calcgradients(benchmark::State& state) {
    Profile profile(100);
    profile.set.set_data(1, static_cast<double>(state.range(0)), false);
    profile.set.save_point(-1, 40);  // refresh with the new settings
    for (auto _ : state)
        benchmark::DoNotOptimize(profile.set.Calcgradients());
    state.counters["turns"] = profile.set.GradCounter;
}
BENCHMARK(BM_Calcgradients)->Arg(10)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ostrivane
