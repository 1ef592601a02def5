#include <gtest/gtest.h>

#include <vector>

#include "core/scene/profile_drawing.h"

#include "core/curve/spline_points.h"
#include "curve_fixture.h"
#include "support/near.h"

namespace ostrivane {
namespace {

using test::near;

constexpr Argb kBlue = 0xFF0000FFu;

class SplineDrawingTest : public ::testing::Test {
  protected:
    // World (x, y) of a pixel position on the fixture's 4 px/mm mapping.
    static std::pair<double, double> world(PointF p) { return {p.x / 4.0, (400 - p.y) / 4.0}; }

    // The sample count of every polyline drawn on the plot, in order.
    std::vector<std::size_t> chunks() const {
        std::vector<std::size_t> out;
        for (const auto& path : plot.canvas.paths)
            out.push_back(path.points.size());
        return out;
    }

    test::PlotFixture plot;
    TBetaSPLpoints set{plot.grita};
};

TEST_F(SplineDrawingTest, TwoPointsDrawFortySamplesEndingOneStepShort) {
    set.save_point(10, 20);
    set.save_point(90, 60);
    draw_spline(plot.grita, set, kBlue, false);
    ASSERT_EQ(chunks(), std::vector<std::size_t>{40});
    const auto& path = plot.canvas.paths[0];
    EXPECT_EQ(path.color, kBlue);
    double x = 0, y = 0;
    set.evaluate(39.0 / 40, x, y);
    const auto [px, py] = world(path.points[39]);
    EXPECT_TRUE(near(px, x, 1e-4));
    EXPECT_TRUE(near(py, y, 1e-4));
}

TEST_F(SplineDrawingTest, UseHeightSwapsTheAxes) {
    set.save_point(10, 20);
    set.save_point(90, 60);
    draw_spline(plot.grita, set, kBlue, true);
    double x = 0, y = 0;
    set.evaluate(0, x, y);
    ASSERT_EQ(plot.canvas.paths.size(), 1u);
    const auto [px, py] = world(plot.canvas.paths[0].points[0]);
    EXPECT_TRUE(near(px, y, 1e-4));
    EXPECT_TRUE(near(py, x, 1e-4));
}

TEST_F(SplineDrawingTest, LongCurvesAreDrawnInUnjoinedChunks) {
    for (int k = 0; k < 1000; ++k)
        set.save_point(k * 0.1, (k % 7) * 0.5);
    draw_spline(plot.grita, set, kBlue, false);
    // 20000 nominal samples; the step 999/20000 accumulated by addition stays just below n
    // after 20000 additions, so one more sample is drawn.
    EXPECT_EQ(chunks(), (std::vector<std::size_t>{9999, 9999, 3}));
    // The bitmap form samples the same way, with its own thickness and target.
    test::CurveCanvas bitmap(200, 100);
    plot.grita.SetViewport_BMP(200, 100, 0, 0, 1, 1);
    plot.grita.SetWindow_BMP(0, 0, 100, 50, false);
    draw_spline(plot.grita, bitmap, set, kBlue, false, 2.5f);
    ASSERT_EQ(bitmap.paths.size(), 3u);
    EXPECT_EQ(bitmap.paths[2].points.size(), 3u);
    EXPECT_EQ(bitmap.paths[0].thickness, 2.5f);
    EXPECT_EQ(plot.canvas.paths.size(), 3u);  // nothing more on the screen
}

TEST_F(SplineDrawingTest, FewerThanTwoPointsDrawNothing) {
    draw_spline(plot.grita, set, kBlue, false);
    set.save_point(10, 10);
    draw_spline(plot.grita, set, kBlue, false);
    EXPECT_TRUE(plot.canvas.paths.empty());
}

TEST_F(SplineDrawingTest, PointsAreMarkedAndSelectedOnesInRed) {
    set.save_point(10, 20);
    set.save_point(50, 75);
    set.selected[1] = true;
    draw_points(plot.grita, set, kBlue);
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
    draw_parts(plot.grita, set, kBlue);
    EXPECT_TRUE(plot.canvas.lines.empty());
    set.save_part(20, 60);
    set.save_part(70, 80);
    set.parts_selected[2] = true;
    draw_parts(plot.grita, set, kBlue);
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

TEST_F(SplineDrawingTest, TurningPointsAreMarkedInRedWhereTheProfileHasThem) {
    set.save_point(0, 10);
    set.save_point(10, 20);
    set.save_point(20, 10);
    ASSERT_FALSE(failed(set.Calcgradients()));
    ASSERT_GT(set.GradCounter, 0);
    draw_gradients(plot.grita, set);
    ASSERT_EQ(plot.canvas.texts.size(), std::size_t{set.GradCounter});
    for (const auto& mark : plot.canvas.texts) {
        EXPECT_EQ(mark.text, "\x1e");
        EXPECT_EQ(mark.color, kCurveRed);
    }
}

}  // namespace
}  // namespace ostrivane
