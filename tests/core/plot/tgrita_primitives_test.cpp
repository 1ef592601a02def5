#include <array>
#include <vector>

#include "plot_fixture.h"

namespace ostrivane {
namespace {

using Kind = CanvasCall::Kind;

constexpr Argb kRed = 0xFFFF0000u;
constexpr Argb kBlue = 0xFF0000FFu;
constexpr Argb kGreen = 0xFF00FF00u;

// Screen: 400 x 200 pixels for 0 … 100 mm both ways (AX = 4, AY = -2, no guard).
// Bitmap: 200 x 100 pixels for the same window (AX = 2, AY = -1).
class Primitives : public test::PlotFixture {
  protected:
    Primitives() : PlotFixture(false) {
        grita.SetViewport(0, 0, 1, 1);
        grita.SetWindow(0, 0, 100, 100);
        grita.SetViewport_BMP(200, 100, 0, 0, 1, 1);
        grita.SetWindow_BMP(0, 0, 100, 100, false);
    }
    void TearDown() override {
        for (const RecordingCanvas* c : {&screen, &bitmap}) {
            EXPECT_FALSE(c->drawn_outside_scene);
            EXPECT_EQ(c->scenes_begun, c->scenes_ended);
        }
        EXPECT_TRUE(log.empty());
    }
    const CanvasCall& only_call(const RecordingCanvas& c, Kind kind) {
        EXPECT_EQ(c.calls.size(), 1u);
        EXPECT_FALSE(c.calls.empty());
        EXPECT_EQ(c.calls.back().kind, kind);
        return c.calls.back();
    }

    RecordingCanvas bitmap{200, 100};
};

TEST_F(Primitives, LinesUseTheLineStyleOfTheirTarget) {
    grita.SetlineStyle(Dash::Dot, 3);
    grita.DrawLine(10, 20, 30, 40, kRed);
    const CanvasCall& line = only_call(screen, Kind::Line);
    EXPECT_EQ(line.points, (std::vector<PointF>{{40, 160}, {120, 120}}));
    EXPECT_EQ(line.pen, (Pen{kRed, 3, Dash::Dot}));
    EXPECT_EQ(line.opacity, 1.0f);

    grita.DrawLine(2.5f, bitmap, 10, 20, 30, 40, kBlue);
    const CanvasCall& bmp_line = only_call(bitmap, Kind::Line);
    EXPECT_EQ(bmp_line.points, (std::vector<PointF>{{20, 80}, {60, 60}}));
    EXPECT_EQ(bmp_line.pen, (Pen{kBlue, 2.5f, Dash::Solid}));
    EXPECT_EQ(screen.stroke.thickness, 3) << "a bitmap line leaves the screen's pen alone";

    // The bitmap keeps the thickness it was last given, as a toolkit canvas does.
    grita.Circle(bitmap, 10, 20, 1, kGreen);
    EXPECT_EQ(bitmap.calls.back().pen, (Pen{kGreen, 2.5f, Dash::Solid}));
}

// The x scale serves both axes, so a circle stays round whatever AY is.
TEST_F(Primitives, CircleRadiusFollowsTheXScale) {
    grita.Circle(10, 20, 5, kGreen);
    EXPECT_EQ(only_call(screen, Kind::Ellipse).rect, (RectF{20, 140, 60, 180}));
    grita.Circle(bitmap, 10, 20, 5, kGreen);
    EXPECT_EQ(only_call(bitmap, Kind::Ellipse).rect, (RectF{10, 70, 30, 90}));
    grita.Circle(10, 20, -5, kGreen);
    EXPECT_EQ(screen.calls.back().rect, (RectF{20, 140, 60, 180}));
}

TEST_F(Primitives, PathsTakeTheFirstNPointsOfTheirLists) {
    const std::array<double, 4> xs{0, 50, 100, 25};
    const std::array<double, 4> ys{0, 100, 0, 50};
    struct {
        const char* name;
        int n;
        bool close;
        std::vector<PointF> expected;
    } const cases[] = {
        {"triangle closed", 3, true, {{0, 200}, {200, 0}, {400, 200}}},
        {"one point", 1, false, {{0, 200}}},
        {"nothing", 0, false, {}},
        {"negative count", -4, true, {}},
        {"count past the lists", 12, false, {{0, 200}, {200, 0}, {400, 200}, {100, 100}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        screen.calls.clear();
        grita.Polyline(xs, ys, c.n, kBlue, c.close);
        const CanvasCall& path = only_call(screen, Kind::Path);
        EXPECT_EQ(path.points, c.expected);
        EXPECT_EQ(path.closed, c.close);
        EXPECT_EQ(path.pen.color, kBlue);
    }

    grita.Polyline_BMP(4, bitmap, xs, ys, 2, kRed, false);
    const CanvasCall& bmp_path = only_call(bitmap, Kind::Path);
    EXPECT_EQ(bmp_path.points, (std::vector<PointF>{{0, 100}, {100, 0}}));
    EXPECT_EQ(bmp_path.pen, (Pen{kRed, 4, Dash::Solid}));

    screen.calls.clear();
    grita.FillArea(xs, ys, 3, kGreen);
    const CanvasCall& area = only_call(screen, Kind::FillPath);
    EXPECT_TRUE(area.closed);
    EXPECT_EQ(area.points.size(), 3u);
    EXPECT_EQ(area.color, kGreen);
}

TEST_F(Primitives, BarFillsTheSameRectangleWhateverTheCornerOrder) {
    const std::array<std::array<double, 4>, 4> corners{
        {{10, 20, 30, 40}, {30, 40, 10, 20}, {10, 40, 30, 20}, {30, 20, 10, 40}}};
    for (const auto& k : corners) {
        grita.Drawbar(k[0], k[1], k[2], k[3], kRed);
        EXPECT_EQ(screen.calls.back().rect, (RectF{40, 120, 120, 160}));
        EXPECT_EQ(screen.calls.back().color, kRed);
        grita.Drawbar(bitmap, k[0], k[1], k[2], k[3], kBlue);
        EXPECT_EQ(bitmap.calls.back().rect, (RectF{20, 60, 60, 80}));
    }
}

TEST_F(Primitives, MarkerIsCentredOnItsPoint) {
    grita.Marker(10, 20, "+", kRed);
    const CanvasCall& mark = only_call(screen, Kind::Text);
    // "+" is 6 x 15 pixels in the recorder's 12-pixel font.
    EXPECT_EQ(mark.rect, (RectF{37, 152.5f, 43, 167.5f}));
    EXPECT_EQ(mark.horizontal, TextAlign::Center);
    EXPECT_EQ(mark.vertical, TextAlign::Center);
    EXPECT_FALSE(mark.word_wrap);
    EXPECT_EQ(mark.color, kRed);
    EXPECT_EQ(mark.text, "+");

    // On a bitmap the mark is measured with the screen's font and drawn with the bitmap's.
    bitmap.font.size = 30;
    grita.Marker(bitmap, 10, 20, "+", kBlue);
    const CanvasCall& bmp_mark = only_call(bitmap, Kind::Text);
    EXPECT_EQ(bmp_mark.rect, (RectF{17, 72.5f, 23, 87.5f}));
    EXPECT_EQ(bmp_mark.font.size, 30);
}

TEST(TgritaCreate, SetsTheScreenFont) {
    RecordingCanvas screen(10, 10);
    screen.font = Font{"Serif", 30};
    Tgrita grita(screen);
    EXPECT_EQ(screen.font, (Font{"Tahoma", 12}));
    EXPECT_EQ(grita.grbounds.WidthScr, 10);
    EXPECT_EQ(grita.LastViewID, 0);
    EXPECT_FALSE(grita.VpFlag);
}

TEST_F(Primitives, TextStartsAtItsTopLeftCorner) {
    grita.GraphText(10, 20, "abc", kBlue, false, false);
    const CanvasCall& mapped = only_call(screen, Kind::Text);
    EXPECT_EQ(mapped.rect, (RectF{40, 160, 58, 175}));
    EXPECT_EQ(mapped.horizontal, TextAlign::Leading);
    EXPECT_EQ(mapped.vertical, TextAlign::Leading);

    grita.GraphText(10, 20, "abc", kBlue, false, true);
    EXPECT_EQ(screen.calls.back().rect, (RectF{10, 20, 28, 35}));

    grita.GraphText(bitmap, 10, 20, 20, "ab", kRed, false);
    const CanvasCall& bmp_text = only_call(bitmap, Kind::Text);
    EXPECT_EQ(bitmap.font.size, 20) << "the size stays set on the bitmap";
    EXPECT_EQ(bmp_text.rect, (RectF{20, 80, 40, 105}));
    EXPECT_EQ(bmp_text.color, kRed);
}

TEST_F(Primitives, AnimatedTextOnlyStartsTheFade) {
    label.text = "earlier";
    grita.GraphText(10, 20, "abc", kBlue, true, false);
    EXPECT_TRUE(screen.calls.empty());
    EXPECT_EQ(label.fades, 1);
    EXPECT_EQ(label.text, "earlier");
}

TEST_F(Primitives, SelectionRectangleIsDashedAndUnmapped) {
    grita.Rectangle(100, 50, 10, 5, kGreen);
    const CanvasCall& box = only_call(screen, Kind::Rect);
    EXPECT_EQ(box.rect, (RectF{10, 5, 100, 50}));
    EXPECT_EQ(box.pen.dash, Dash::Dash);
    EXPECT_EQ(box.pen.color, kGreen);
    grita.DrawLine(0, 0, 1, 1, kRed);
    EXPECT_EQ(screen.calls.back().pen.dash, Dash::Solid) << "later lines are not dashed";
}

TEST_F(Primitives, WritePixelDrawsNothing) {
    grita.WritePixel(3, 4, kRed);
    EXPECT_TRUE(screen.calls.empty());
    EXPECT_EQ(log, critical({"WritePixel not implemented"}));
    log.clear();
}

using Messages = test::PlotFixture;

TEST_F(Messages, GraphMessageShowsTheLatestAndLogsEach) {
    grita.GraphMessage("first trouble", 0xFFFF0000u, true);
    grita.GraphMessage("second note", static_cast<Argb>(-1), false);
    EXPECT_EQ(label.text, "second note");
    EXPECT_EQ(label.fades, 2);
    EXPECT_EQ(log, (test::LogLines{{"first trouble", true}, {"second note", false}}));
    EXPECT_TRUE(screen.calls.empty());
}

TEST(TgritaMessage, IsLoggedWithoutALabel) {
    RecordingCanvas screen(10, 10);
    test::LogLines log;
    Tgrita grita(screen, nullptr, true,
                 [&log](std::string_view m, bool critical) { log.emplace_back(m, critical); });
    grita.GraphMessage("no window", 0xFF000000u, false);
    grita.GraphText(0, 0, "x", 0xFF000000u, true, false);
    EXPECT_EQ(log, (test::LogLines{{"no window", false}}));
}

}  // namespace
}  // namespace ostrivane
