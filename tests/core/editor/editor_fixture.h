#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/editor/spline_editor.h"
#include "core/text/error.h"
#include "scripted_dialogs.h"
#include "support/recording_canvas.h"
#include "support/temp_dir.h"

namespace ostrivane::test {

// Keeps what the editor asked of its window.
struct RecordingHost : EditorHost {
    void repaint() override { ++repaints; }
    void clear_bitmap() override { ++bitmap_clears; }
    void show_commands() override { ++commands_shown; }
    void set_coordinate_labels(std::string_view x, std::string_view y) override {
        label_x = std::string(x);
        label_y = std::string(y);
    }
    void set_cut_enabled(bool enabled) override { cut_enabled = enabled; }
    double turn_axis_field() override {
        if (!axis_valid)
            throw Error("x inside Turn axis position (mm) is not a valid floating point number.");
        return axis;
    }
    void shade() override { calls.push_back("shade"); }
    void calculate_for_milling() override { calls.push_back("F7"); }

    int repaints = 0;
    int bitmap_clears = 0;
    int commands_shown = 0;
    std::string label_x;
    std::string label_y;
    bool cut_enabled = false;
    double axis = 100;
    bool axis_valid = true;
    std::vector<std::string> calls;
};

// An editor on a 600 x 300 plot (and bitmap) after a load with the turning axis at 100: the
// view shows x 0 … 1500 and y -275 … 475, 2.5 mm per pixel.
class EditorFixture : public ::testing::Test {
  protected:
    EditorFixture() {
        editor.set_dialogs(&dialogs);
        editor.init_view(100);
        editor.reset_history();
    }

    // The plot pixel of a world position.
    PointF pixel(double x, double y) const {
        PointF p;
        grita.ScreenCoords(x, y, p.x, p.y);
        return p;
    }
    void key(std::uint16_t k, std::optional<PointF> pointer = std::nullopt, ShiftState s = {}) {
        editor.FormKeyDown(k, s, pointer);
    }
    void alt(char letter, std::optional<PointF> pointer = std::nullopt) {
        editor.FormKeyDown(editor_key::letter(letter), {.alt = true}, pointer);
    }
    void click(double x, double y) {
        const PointF p = pixel(x, y);
        editor.PlotGrid1MouseDown(true, p.x, p.y);
    }
    void hover(double x, double y) {
        const PointF p = pixel(x, y);
        editor.PlotGrid1MouseMove(p.x, p.y);
    }
    // A box from one world corner to the other with the select tool, completed.
    void select_box(double x1, double y1, double x2, double y2) {
        editor.choose_tool(SplineEditor::Tool::Select);
        click(x1, y1);
        hover(x2, y2);
        click(x2, y2);
    }
    void add_points(TBetaSPLpoints& set, std::initializer_list<std::pair<double, double>> pts) {
        for (const auto& [x, y] : pts)
            set.save_point(x, y);
    }
    std::vector<double> xs(const TBetaSPLpoints& set) const {
        std::vector<double> out;
        for (int k = 0; k < set.Nopoints; ++k)
            out.push_back(set.X.Tomatch[k]);
        return out;
    }
    std::vector<std::string> messages() const {
        std::vector<std::string> out;
        for (const auto& [text, critical] : log)
            if (!critical)
                out.push_back(text);
        return out;
    }

    RecordingCanvas screen{600, 300};
    RecordingCanvas bitmap{600, 300};
    std::vector<std::pair<std::string, bool>> log;
    Tgrita grita{screen, nullptr, true,
                 [this](std::string_view m, bool critical) { log.emplace_back(m, critical); }};
    ScriptedDialogs dialogs;
    TempDir data_folder;
    Profile drawing{grita};
    TGrad engine{drawing, grita, data_folder.path()};
    RecordingHost host;
    SplineEditor editor{engine, grita, bitmap, host};
};

}  // namespace ostrivane::test
