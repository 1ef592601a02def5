#pragma once
#include <string>
#include <utility>
#include <vector>

#include "core/curve/spline_points.h"
#include "core/plot/canvas.h"
#include "core/plot/tgrita.h"

namespace ostrivane::test {

// A drawing target that keeps what was drawn on it, in world-independent pixel terms.
class CurveCanvas : public Canvas {
  public:
    struct Line {
        PointF from, to;
        Argb color;
    };
    struct Stroke {
        std::vector<PointF> points;
        Argb color;
        float thickness;
    };
    struct Text {
        RectF rect;
        std::string text;
        Argb color;
    };

    explicit CurveCanvas(int w = 400, int h = 400) : w_(w), h_(h) {}
    int width() const override { return w_; }
    int height() const override { return h_; }
    void clear(Argb) override {}
    void draw_line(PointF from, PointF to, const Pen& pen, float) override {
        lines.push_back({from, to, pen.color});
    }
    void draw_path(const Path& path, const Pen& pen, float) override {
        paths.push_back({path.points, pen.color, pen.thickness});
    }
    void fill_path(const Path&, Argb, float) override {}
    void draw_ellipse(const RectF&, const Pen&, float) override {}
    void fill_rect(const RectF&, Argb, float) override {}
    void draw_rect(const RectF&, const Pen&, float) override {}
    void fill_text(const RectF& rect, std::string_view text, const Font&, Argb color, TextAlign,
                   TextAlign, bool, float) override {
        texts.push_back({rect, std::string(text), color});
    }
    float text_width(std::string_view text, const Font&) const override {
        return 8.0f * static_cast<float>(text.size());
    }
    float text_height(std::string_view, const Font&) const override { return 12.0f; }

    std::vector<Line> lines;
    std::vector<Stroke> paths;
    std::vector<Text> texts;

  private:
    int w_, h_;
};

struct Message {
    std::string text;
    bool critical;
    friend bool operator==(const Message&, const Message&) = default;
};

// A plot surface on a 400 x 400 canvas showing the world 0 … 100 in both directions, with its
// messages collected.
struct PlotFixture {
    PlotFixture() {
        grita.SetViewport(0, 0, 1, 1);
        grita.SetWindow(0, 0, 100, 100);
    }
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& m : messages)
            out.push_back(m.text);
        return out;
    }

    CurveCanvas canvas;
    std::vector<Message> messages;
    Tgrita grita{canvas, nullptr, true, [this](std::string_view text, bool critical) {
                     messages.push_back({std::string(text), critical});
                 }};
};

// Fills a set with `count` points at x = first_x, first_x + 1, … without going through
// save_point one by one, then refreshes it as an edit would.
inline void fill_points(TBetaSPLpoints& set, int count, double first_x) {
    for (int k = 0; k < count; ++k) {
        set.X.Tomatch[k] = first_x + k;
        set.Y.Tomatch[k] = k % 7;
        set.alpha1[k] = 1.0;
        set.alpha2[k] = 1.0;
    }
    set.Nopoints = count;
    set.destroy_points(first_x - 1, -1, first_x - 0.5, 1);  // removes nothing, refreshes
}

}  // namespace ostrivane::test
