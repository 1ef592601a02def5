#pragma once
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/app/field_values.h"
#include "core/app/main_window_fields.h"
#include "core/gcode/gcode_writer.h"
#include "core/gcode/line_sink.h"
#include "core/gcode/machine_settings.h"
#include "core/gcode/move_recorder.h"
#include "core/gcode/move_stream.h"
#include "core/plot/canvas.h"
#include "core/plot/tgrita.h"
#include "core/scene/turning_drawer.h"
#include "core/toolpath/tgrad.h"
#include "support/temp_dir.h"

namespace ostrivane::test {

// Keeps the bars and texts drawn on it, in pixels.
class PictureCanvas : public Canvas {
  public:
    struct Bar {
        RectF rect;
        Argb color;
    };
    struct Text {
        RectF rect;
        std::string text;
        Argb color;
    };
    struct Line {
        PointF from, to;
        Pen pen;
    };

    PictureCanvas(int w, int h) : w_(w), h_(h) {}
    int width() const override { return w_; }
    int height() const override { return h_; }
    void clear(Argb color) override { clears.push_back(color); }
    void draw_line(PointF from, PointF to, const Pen& pen, float) override {
        lines.push_back({from, to, pen});
    }
    void draw_path(const Path& path, const Pen& pen, float) override {
        paths.push_back({path.points, pen.color});
    }
    void fill_path(const Path&, Argb, float) override {}
    void draw_ellipse(const RectF&, const Pen&, float) override {}
    void fill_rect(const RectF& rect, Argb color, float) override { bars.push_back({rect, color}); }
    void draw_rect(const RectF&, const Pen&, float) override {}
    void fill_text(const RectF& rect, std::string_view text, const Font&, Argb color, TextAlign,
                   TextAlign, bool, float) override {
        texts.push_back({rect, std::string(text), color});
    }
    float text_width(std::string_view text, const Font&) const override {
        return 6.0f * static_cast<float>(text.size());
    }
    float text_height(std::string_view, const Font&) const override { return 10.0f; }

    std::vector<Bar> bars;
    std::vector<Text> texts;
    std::vector<Line> lines;
    std::vector<std::pair<std::vector<PointF>, Argb>> paths;
    std::vector<Argb> clears;

  private:
    int w_, h_;
};

// An engine on a plot and a bitmap of 1000 x 1000 pixels that both show the world 0 … 100 mm
// in x and y (10 pixels per mm), its data folder a fresh temporary folder, every notice and log
// line collected, and a G-code writer with the main window's defaults.
struct EngineFixture {
    explicit EngineFixture(bool make_engine = true) {
        grita.SetViewport(0, 0, 1, 1);
        grita.SetWindow(0, 0, 100, 100);
        grita.SetViewport_BMP(1000, 1000, 0, 0, 1, 1);
        grita.SetWindow_BMP(0, 0, 100, 100, false);
        if (make_engine)
            make();
    }
    void make() {
        drawer.reset();
        engine.reset();
        drawing = std::make_unique<Profile>(grita);
        engine = std::make_unique<TGrad>(*drawing, grita, data.path(),
                                         [this](std::string_view text, bool critical) {
                                             log.push_back({std::string(text), critical});
                                         });
        drawer = std::make_unique<TurningDrawer>(grita, &bitmap, *engine);
    }
    // The engine as the editor hands it a job: saw 4.5, the given resolution, no fine task.
    void job(double saw = 4.5, double resolution = 50, bool fine = false, int runs = 1,
             double jobheight = 3.2, const std::string& tnd = "", bool second = false) {
        engine->set_data(saw, resolution, jobheight, 1, 1, runs, 3.2, 1, 100, 100, fine, true, tnd,
                         second, true, true);
    }
    void profile(std::initializer_list<std::pair<double, double>> points) {
        for (const auto& [x, y] : points)
            engine->profile.save_point(x, y);
    }
    // The whole calculation into `out` (and its moves into `recorded`), drawn by `drawer` when
    // there is one; true when it failed.
    bool calculate(bool fast = false) {
        GcodeWriter writer(read_machine_settings(fields), out);
        MoveTee both(writer, recorded);
        MoveStream head(both);
        engine->set_view(drawer.get());
        const bool use_tooth = fields.checked("UseTND") || fields.checked("doublet");
        const bool failed = ostrivane::failed(engine->CalcSpline(head, fast, use_tooth));
        lastX = head.x();
        lastY = head.y();
        return failed;
    }
    // A tooth file in the data folder, chosen for the job with "Use TND file".
    std::string tooth_file(const std::string& text) {
        const std::filesystem::path file = data / "job.tnd";
        std::ofstream(file, std::ios::binary) << text;
        fields.assign("UseTND", "true");
        return file.string();
    }
    std::vector<std::string> lines() const {
        std::vector<std::string> result;
        std::istringstream in(out.text());
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            result.push_back(line);
        }
        return result;
    }
    std::vector<std::string> notices() const {
        std::vector<std::string> result;
        for (const auto& [text, critical] : messages)
            result.push_back(text);
        return result;
    }

    TempDir data;
    PictureCanvas screen{1000, 1000};
    PictureCanvas bitmap{1000, 1000};
    std::vector<std::pair<std::string, bool>> messages;
    std::vector<std::pair<std::string, bool>> log;
    Tgrita grita{screen, nullptr, false, [this](std::string_view text, bool critical) {
                     messages.push_back({std::string(text), critical});
                 }};
    std::unique_ptr<Profile> drawing;
    std::unique_ptr<TGrad> engine;
    FieldValues fields{main_window_components()};
    std::unique_ptr<TurningDrawer> drawer;
    StringSink out;
    MoveRecorder recorded;
    double lastX = 0;
    double lastY = 0;
};

// The machine's absolute position after each line of a program body, read back from the
// relative moves (default axis mapping, no inversion). Homing lines send their axis to 0.
struct Position {
    double x = 0, y = 0, z = 0;
    bool feed = false;
    std::string line;
};
std::vector<Position> trace(const std::vector<std::string>& lines);

// A plunge: Y going out from its home to `y` with the saw's left edge at `x`.
struct Plunge {
    double x = 0;
    double y = 0;
};
std::vector<Plunge> plunges(const std::vector<Position>& positions);

}  // namespace ostrivane::test
