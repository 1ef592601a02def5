#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <cmath>
#include <filesystem>

#include "core/editor/spline_editor.h"
#include "render/image_canvas.h"

namespace ostrivane {
namespace {

// A host that does what the window does with a repaint request: nothing until it paints.
struct QuietHost : EditorHost {
    void repaint() override {}
    void clear_bitmap() override {}
    void show_commands() override {}
    void set_coordinate_labels(std::string_view, std::string_view) override {}
    void set_cut_enabled(bool) override {}
    double turn_axis_field() override { return 100; }
    void shade() override {}
    void calculate_for_milling() override {}
};

// The editor on a 1280 x 800 plot: a wavy 1000-point profile over 1500 mm with fine-milling
// parts, and a 200-point second spline.
struct EditorScene {
    explicit EditorScene(bool match) {
        image.fill(Qt::white);
        engine.profile.set_data(3.2, 10, match);
        engine.job.draaias = 100;
        engine.job.thickness = 100;
        engine.job.second_spline = true;
        std::vector<ShapePoint> profile;
        for (int k = 0; k < 1000; ++k) {
            const double x = 1.5 * k;
            profile.push_back(
                {x, 40 + 20 * std::sin(x / 60) + (k % 7), 1 + (k % 3) * 0.5, 1.0 + (k % 4)});
        }
        engine.profile.load_points(profile);
        for (int p = 0; p < 30; ++p)
            engine.profile.save_part(50.0 * p, 50.0 * p + 20);
        std::vector<ShapePoint> second;
        for (int k = 0; k < 200; ++k)
            second.push_back({7.5 * k, 80 + 5 * std::cos(k / 10.0)});
        engine.spline2.load_points(second);
        editor.init_view(100);
        for (int i = 1; i <= 10; ++i)
            editor.add_move(150.0 * i, 20.0 * (i % 3));
    }

    QImage image{1280, 800, QImage::Format_ARGB32_Premultiplied};
    QImage bitmap_image{1280, 800, QImage::Format_ARGB32_Premultiplied};
    ImageCanvas screen{image};
    ImageCanvas bitmap{bitmap_image};
    Tgrita grita{screen, nullptr, true};
    Profile drawing{grita};
    TGrad engine{drawing, grita, std::filesystem::path()};
    QuietHost host;
    SplineEditor editor{engine, grita, bitmap, host};
};

// One repaint of the plot, as the window's paint handler does it.
void BM_EditorRepaint(benchmark::State& state) {
    EditorScene scene(false);
    for (auto _ : state) {
        scene.image.fill(Qt::transparent);
        scene.editor.paint();
        benchmark::DoNotOptimize(scene.image.constBits());
    }
}
BENCHMARK(BM_EditorRepaint)->Unit(benchmark::kMillisecond);

// One step of dragging a point of the 1000-point profile: the mouse move and the repaint that
// follows it; with matching on, the curve is matched again at every step.
void BM_EditorDrag(benchmark::State& state) {
    EditorScene scene(state.range(0) != 0);
    float px = 0;
    float py = 0;
    scene.grita.ScreenCoords(scene.engine.profile.X.Tomatch[500],
                             scene.engine.profile.Y.Tomatch[500], px, py);
    scene.editor.choose_tool(SplineEditor::Tool::Move);
    scene.editor.PlotGrid1MouseDown(true, px, py);
    int step = 0;
    for (auto _ : state) {
        const float dy = static_cast<float>(step++ % 20) - 10;
        scene.editor.PlotGrid1MouseMove(px, py + dy);
        scene.image.fill(Qt::transparent);
        scene.editor.paint();
        benchmark::DoNotOptimize(scene.image.constBits());
    }
}
BENCHMARK(BM_EditorDrag)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ostrivane

int main(int argc, char** argv) {
    // Text needs a font database, which a GUI application brings; no window is shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
