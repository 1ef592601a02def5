#include <gtest/gtest.h>

#include <vector>

#include "core/curve/spline_points.h"
#include "curve_fixture.h"
#include "support/near.h"

namespace ostrivane {
namespace {

using test::near;

constexpr Argb kBlue = 0xFF0000FFu;

// Remembers the chunk sizes handed to the drawing hook, as a turning display would see them.
class ChunkRecorder : public TBetaSPLpoints {
  public:
    using TBetaSPLpoints::TBetaSPLpoints;
    void drawthespline(std::int32_t noP, Argb acol) override {
        chunks.push_back(noP);
        TBetaSPLpoints::drawthespline(noP, acol);
    }
    std::vector<int> chunks;
};

class SplineDrawingTest : public ::testing::Test {
  protected:
    // World (x, y) of a pixel position on the fixture's 4 px/mm mapping.
    static std::pair<double, double> world(PointF p) { return {p.x / 4.0, (400 - p.y) / 4.0}; }

    test::PlotFixture plot;
    ChunkRecorder set{plot.grita};
};

TEST_F(SplineDrawingTest, TwoPointsDrawFortySamplesEndingOneStepShort) {
    set.save_point(10, 20);
    set.save_point(90, 60);
    set.draw_spline(kBlue, false);
    ASSERT_EQ(set.chunks, std::vector<int>{40});
    ASSERT_EQ(plot.canvas.paths.size(), 1u);
    const auto& path = plot.canvas.paths[0];
    ASSERT_EQ(path.points.size(), 40u);
    EXPECT_EQ(path.color, kBlue);
    double x = 0, y = 0;
    set.evaluate(39.0 / 40, x, y);
    EXPECT_TRUE(near(set.X_inter[39], x, 1e-12));
    EXPECT_TRUE(near(set.Y_inter[39], y, 1e-12));
    const auto [px, py] = world(path.points[39]);
    EXPECT_TRUE(near(px, x, 1e-4));
    EXPECT_TRUE(near(py, y, 1e-4));
}

TEST_F(SplineDrawingTest, UseHeightSwapsTheAxes) {
    set.save_point(10, 20);
    set.save_point(90, 60);
    set.draw_spline(kBlue, true);
    double x = 0, y = 0;
    set.evaluate(0, x, y);
    EXPECT_EQ(set.X_inter[0], y);
    EXPECT_EQ(set.Y_inter[0], x);
}

TEST_F(SplineDrawingTest, LongCurvesAreDrawnInUnjoinedChunks) {
    for (int k = 0; k < 1000; ++k)
        set.save_point(k * 0.1, (k % 7) * 0.5);
    set.draw_spline(kBlue, false);
    // 20000 nominal samples; the step 999/20000 accumulated by addition stays just below n
    // after 20000 additions, so one more sample is drawn.
    EXPECT_EQ(set.chunks, (std::vector<int>{9999, 9999, 3}));
    // The bitmap form samples the same way, with its own thickness and target.
    test::CurveCanvas bitmap(200, 100);
    plot.grita.SetViewport_BMP(200, 100, 0, 0, 1, 1);
    plot.grita.SetWindow_BMP(0, 0, 100, 50, false);
    set.draw_spline_BMP(bitmap, kBlue, false, 2.5f);
    ASSERT_EQ(bitmap.paths.size(), 3u);
    EXPECT_EQ(bitmap.paths[2].points.size(), 3u);
    EXPECT_EQ(bitmap.paths[0].thickness, 2.5f);
    EXPECT_EQ(set.chunks.size(), 3u);  // not through the screen hook
}

TEST_F(SplineDrawingTest, FewerThanTwoPointsDrawNothing) {
    set.draw_spline(kBlue, false);
    set.save_point(10, 10);
    set.draw_spline(kBlue, false);
    EXPECT_TRUE(set.chunks.empty());
    EXPECT_TRUE(plot.canvas.paths.empty());
}

TEST_F(SplineDrawingTest, PointsAreMarkedAndSelectedOnesInRed) {
    set.save_point(10, 20);
    set.save_point(50, 75);
    set.selected[1] = true;
    set.draw_points(kBlue);
    ASSERT_EQ(plot.canvas.texts.size(), 2u);
    const auto& first = plot.canvas.texts[0];
    EXPECT_EQ(first.text, "+");
    EXPECT_EQ(first.color, kBlue);
    EXPECT_EQ(plot.canvas.texts[1].color, kCurveRed);
    // Centred on the point: 40, 320 in pixels.
    EXPECT_FLOAT_EQ((first.rect.left + first.rect.right) / 2, 40.0f);
    EXPECT_FLOAT_EQ((first.rect.top + first.rect.bottom) / 2, 320.0f);
}

TEST_F(SplineDrawingTest, PartsAreBracketsWithInwardTicks) {
    set.draw_part(kBlue);
    EXPECT_TRUE(plot.canvas.lines.empty());
    set.save_part(20, 60);
    set.save_part(70, 80);
    set.parts_selected[2] = true;
    set.draw_part(kBlue);
    ASSERT_EQ(plot.canvas.lines.size(), 12u);
    // Window 0 … 100: the brackets run from y = 1 to 99, ticks are 1 mm long.
    std::vector<std::pair<std::pair<double, double>, std::pair<double, double>>> first_part;
    for (int i = 0; i < 6; ++i) {
        const auto& line = plot.canvas.lines[i];
        EXPECT_EQ(line.color, kBlue);
        first_part.push_back({world(line.from), world(line.to)});
    }
    const decltype(first_part) expected = {{{20, 1}, {20, 99}},  {{20, 99}, {21, 99}},
                                           {{20, 1}, {21, 1}},   {{60, 1}, {60, 99}},
                                           {{59, 99}, {60, 99}}, {{59, 1}, {60, 1}}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_TRUE(near(first_part[i].first.first, expected[i].first.first, 1e-4)) << i;
        EXPECT_TRUE(near(first_part[i].first.second, expected[i].first.second, 1e-4)) << i;
        EXPECT_TRUE(near(first_part[i].second.first, expected[i].second.first, 1e-4)) << i;
        EXPECT_TRUE(near(first_part[i].second.second, expected[i].second.second, 1e-4)) << i;
    }
    for (int i = 6; i < 12; ++i)
        EXPECT_EQ(plot.canvas.lines[i].color, kCurveRed);
}

}  // namespace
}  // namespace ostrivane
