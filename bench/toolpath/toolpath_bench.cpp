// The turning job against the cost of writing its lines: a 1000-point, 1500 mm profile at 1000
// samples per mm, rough and fine over the whole length, every saw drawn on a bitmap that keeps
// nothing, the lines counted and dropped. And the shading of a 1000 x 300 pixel picture.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <memory>

#include "core/app/field_values.h"
#include "core/app/main_window_fields.h"
#include "core/check/cut_check.h"
#include "core/gcode/gcode_writer.h"
#include "core/gcode/line_sink.h"
#include "core/gcode/machine_settings.h"
#include "core/gcode/move_stream.h"
#include "core/plot/tgrita.h"
#include "core/scene/turning_drawer.h"
#include "core/scene/workpiece_shading.h"
#include "core/toolpath/tgrad.h"

namespace {
using namespace ostrivane;

class CountingSink final : public LineSink {
  public:
    void write_line(std::string_view line) override {
        bytes += line.size() + 2;
        ++lines;
    }
    std::size_t bytes = 0;
    std::int64_t lines = 0;
};

// A picture that is drawn on and keeps nothing: the cost of mapping and calling stays in.
class NullCanvas final : public Canvas {
  public:
    NullCanvas(int w, int h) : w_(w), h_(h) {}
    int width() const override { return w_; }
    int height() const override { return h_; }
    void clear(Argb) override {}
    void draw_line(PointF, PointF, const Pen&, float) override { ++calls; }
    void draw_path(const Path&, const Pen&, float) override { ++calls; }
    void fill_path(const Path&, Argb, float) override { ++calls; }
    void draw_ellipse(const RectF&, const Pen&, float) override { ++calls; }
    void fill_rect(const RectF&, Argb, float) override { ++calls; }
    void draw_rect(const RectF&, const Pen&, float) override { ++calls; }
    void fill_text(const RectF&, std::string_view, const Font&, Argb, TextAlign, TextAlign, bool,
                   float) override {
        ++calls;
    }
    float text_width(std::string_view text, const Font&) const override {
        return 6.0f * static_cast<float>(text.size());
    }
    float text_height(std::string_view, const Font&) const override { return 10.0f; }
    std::int64_t calls = 0;

  private:
    int w_, h_;
};

struct Job {
    Job() {
        grita.SetViewport(0, 0, 1, 1);
        grita.SetWindow(0, 100 - 225, 1500, 100 + 225);
        grita.SetViewport_BMP(1000, 300, 0, 0, 1, 1);
        grita.SetWindow_BMP(0, 100 - 225, 1500, 100 + 225, true);
        engine = std::make_unique<TGrad>(drawing, grita, std::filesystem::temp_directory_path());
        engine->set_data(4.5, 1000, 3.2, 1, 1, 1, 3.2, 1, 100, 100, true, true, "", false, true,
                         true);
        // A long baluster: slow waves with beads on them, 1.5 mm between points.
        for (int k = 0; k < 1000; ++k) {
            const double x = 1.5 * k;
            const double y = 40 + 12 * std::sin(x / 60) + 4 * std::sin(x / 9);
            engine->profile.X.Tomatch[k] = x;
            engine->profile.Y.Tomatch[k] = y;
            engine->profile.alpha1[k] = 1;
            engine->profile.alpha2[k] = 1;
        }
        engine->profile.Nopoints = 1000;
        engine->profile.destroy_points(-10, -10, -5, -5);  // removes nothing; refreshes and matches
        engine->profile.save_part(engine->profile.XminX, engine->profile.XmaxX);
    }
    NullCanvas screen{1000, 300};
    NullCanvas bitmap{1000, 300};
    Tgrita grita{screen, nullptr, true, [](std::string_view, bool) {}};
    Profile drawing{grita};
    std::unique_ptr<TGrad> engine;
    FieldValues fields{main_window_components()};
    MachineSettings settings = read_machine_settings(fields);
};

Job& job() {
    static Job shared;
    return shared;
}

std::int64_t job_lines = 0;

void BM_TurningJob(benchmark::State& state) {
    Job& j = job();
    for (auto _ : state) {
        CountingSink sink;
        GcodeWriter writer(j.settings, sink);
        MoveStream head(writer);
        TurningDrawer drawer(j.grita, &j.bitmap, *j.engine);
        j.engine->set_view(&drawer);
        const Outcome outcome = j.engine->CalcSpline(head, false, false);
        j.engine->set_view(nullptr);
        if (failed(outcome))
            state.SkipWithError("the turning calculation failed");
        job_lines = sink.lines;
        benchmark::DoNotOptimize(sink.bytes);
    }
    state.counters["lines"] = static_cast<double>(job_lines);
    state.counters["saws_drawn"] = static_cast<double>(j.bitmap.calls);
}
BENCHMARK(BM_TurningJob)->Unit(benchmark::kMillisecond)->Iterations(3);

// As many lines as the job writes, nearly all of them fine steps as in the job.
void BM_WriteLinesOnly(benchmark::State& state) {
    Job& j = job();
    const std::int64_t lines = job_lines > 0 ? job_lines : 750000;
    for (auto _ : state) {
        CountingSink sink;
        GcodeWriter motion(j.settings, sink);
        double x = 0.0021234;
        for (std::int64_t k = 0; k < lines; ++k) {
            motion.steps_combined({x, 0.001 * static_cast<double>(k % 7) - 0.003, 0}, false);
            x += 1e-9;
        }
        benchmark::DoNotOptimize(sink.bytes);
    }
    state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_WriteLinesOnly)->Unit(benchmark::kMillisecond)->Iterations(3);

// The check of the program BM_TurningJob writes, read back from its text: to be within twice
// the time of writing it.
void BM_CheckTurningJob(benchmark::State& state) {
    Job& j = job();
    StringSink program;
    program.write_line("G21");
    program.write_line("G28.1");
    program.write_line("G17 G91");
    {
        GcodeWriter writer(j.settings, program);
        MoveStream head(writer);
        if (failed(j.engine->CalcSpline(head, false, false)))
            state.SkipWithError("the turning calculation failed");
    }
    program.write_line("M2");
    double overcut = 0;
    for (auto _ : state) {
        CheckInputs inputs;
        inputs.settings = j.settings;
        TurningDesign design(*j.engine, {});
        inputs.turning = &design;
        const CheckReport report = check_program_text(program.text(), inputs);
        overcut = report.overcut.max_mm;
        benchmark::DoNotOptimize(report.moves);
    }
    state.counters["overcut_mm"] = overcut;
}
BENCHMARK(BM_CheckTurningJob)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Shading(benchmark::State& state) {
    Job& j = job();
    for (auto _ : state) {
        j.bitmap.calls = 0;
        shade_workpiece(j.grita, &j.bitmap, *j.engine,
                        std::filesystem::temp_directory_path() / "ostrivane-no-pelmo", nullptr);
        benchmark::DoNotOptimize(j.bitmap.calls);
    }
    state.counters["dots"] = static_cast<double>(j.bitmap.calls);
}
BENCHMARK(BM_Shading)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
