#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>

#include "core/scene/profile_drawing.h"
#include "core/scene/workpiece_shading.h"
#include "core/text/error.h"
#include "toolpath_fixture.h"

namespace ostrivane {
namespace {

using test::EngineFixture;

// Screen pixels of the fixture: 10 per mm, world y = 0 at pixel 1000.
float pixel_y(double y) {
    return static_cast<float>(1000 - 10 * y);
}

TEST(TurningDisplay, AxisAndBeamLines) {
    EngineFixture f;
    f.engine->job.draaias = 50;
    f.engine->job.thickness = 30;
    draw_axis_and_beam(f.grita, *f.engine);
    ASSERT_EQ(f.screen.lines.size(), 3u);
    EXPECT_EQ(f.screen.lines[0].pen.color, 0xFF00FFFFu);
    EXPECT_EQ(f.screen.lines[0].from, (PointF{0, pixel_y(50)}));
    EXPECT_EQ(f.screen.lines[0].to, (PointF{1000, pixel_y(50)}));
    for (int k : {1, 2}) {
        EXPECT_EQ(f.screen.lines[k].pen.color, 0xFF505050u);  // visible on the white grid
        EXPECT_EQ(f.screen.lines[k].pen.dash, Dash::DashDotDot);
        EXPECT_EQ(f.screen.lines[k].pen.thickness, 2);
    }
    EXPECT_EQ(f.screen.lines[1].from.y, pixel_y(65));
    EXPECT_EQ(f.screen.lines[2].from.y, pixel_y(35));
    // Later lines are solid and thin again.
    EXPECT_EQ(f.screen.stroke.dash, Dash::Solid);
    EXPECT_EQ(f.screen.stroke.thickness, 1);
}

TEST(TurningDisplay, ProfileIsDrawnWithItsMirrorImageSpline2Without) {
    EngineFixture f;
    f.job();
    f.engine->job.draaias = 60;
    f.engine->profile.save_point(10, 20);
    f.engine->profile.save_point(30, 30);
    f.engine->profile.save_part(12, 25);
    f.engine->spline2.save_point(5, 40);
    f.engine->spline2.save_point(40, 45);
    draw_turning_profile(f.grita, *f.engine);

    // The profile in black, twice (the second mirrored about y = 60); spline 2 once, in blue.
    ASSERT_EQ(f.screen.paths.size(), 3u);
    const auto& [upper, upper_colour] = f.screen.paths[0];
    const auto& [lower, lower_colour] = f.screen.paths[1];
    EXPECT_EQ(upper_colour, 0xFF000000u);
    EXPECT_EQ(lower_colour, 0xFF000000u);
    ASSERT_EQ(upper.size(), 40u);
    ASSERT_EQ(lower.size(), upper.size());
    for (std::size_t k = 0; k < upper.size(); ++k) {
        EXPECT_EQ(lower[k].x, upper[k].x);
        EXPECT_NEAR(lower[k].y, 2 * pixel_y(60) - upper[k].y, 0.01);
    }
    EXPECT_EQ(f.screen.paths[2].second, 0xFF0000FFu);

    // Points: purple "+" for the profile, blue for spline 2; the part's bracket in green; the
    // axis in aqua between them.
    std::vector<Argb> marks;
    for (const auto& t : f.screen.texts) {
        if (t.text == "+")
            marks.push_back(t.color);
    }
    EXPECT_EQ(marks, (std::vector<Argb>{0xFF800080u, 0xFF800080u, 0xFF0000FFu, 0xFF0000FFu}));
    std::vector<Argb> line_colours;
    for (const auto& l : f.screen.lines)
        line_colours.push_back(l.pen.color);
    EXPECT_EQ(std::count(line_colours.begin(), line_colours.end(), 0xFF008000u), 6);
    EXPECT_EQ(line_colours[6], 0xFF00FFFFu);
}

// The dots of a shading, per column pixel x, in drawing order.
std::map<float, std::vector<test::PictureCanvas::Text>> columns(const test::PictureCanvas& c) {
    std::map<float, std::vector<test::PictureCanvas::Text>> out;
    for (const auto& t : c.texts) {
        EXPECT_EQ(t.text, "\xC2\xB7");
        out[(t.rect.left + t.rect.right) / 2].push_back(t);
    }
    return out;
}

TEST(Shading, FlatProfileGivesEqualColumnsInSerpentineOrder) {
    EngineFixture f;
    f.job();
    f.engine->job.draaias = 50;
    f.engine->profile.save_point(10, 47);
    f.engine->profile.save_point(20, 47);
    f.engine->profile.save_point(30, 47);
    shade_workpiece(f.grita, &f.bitmap, *f.engine, f.data.path(), nullptr);
    EXPECT_FALSE(f.engine->shaderunning);
    const auto cols = columns(f.bitmap);
    ASSERT_GT(cols.size(), 150u);  // one column per pixel of 0.1 mm over some 20 mm
    std::map<Argb, int> colours;
    for (const auto& [x, dots] : cols) {
        // A radius of 3 mm at 0.1 mm per pixel: 30 heights, two dots each, brown first.
        EXPECT_GE(dots.size(), 2u * 30);
        EXPECT_EQ(dots.front().color, kShadeBrown);
        for (const auto& d : dots)
            ++colours[d.color];
    }
    // Error diffusion spreads white, greys and brown over a lit cylinder.
    EXPECT_GT(colours[0xFFFFFFFFu], 0);
    EXPECT_GT(colours[kShadeBrown], 0);
    // Columns alternate: upwards from the axis, then from the far side towards it.
    const auto first = cols.begin()->second;
    const auto second = std::next(cols.begin())->second;
    EXPECT_NEAR(first.front().rect.top + 5, pixel_y(50), 0.01);
    EXPECT_NEAR(second.front().rect.top + 5, pixel_y(50 - 3), 0.01);
}

TEST(Shading, ProfileAtOrBeyondTheAxisGivesEmptyColumns) {
    EngineFixture f;
    f.job();
    f.engine->job.draaias = 46;
    for (double x : {10.0, 20.0, 30.0})
        f.engine->profile.save_point(x, 47);
    shade_workpiece(f.grita, &f.bitmap, *f.engine, f.data.path(), nullptr);
    EXPECT_TRUE(f.bitmap.texts.empty());
}

TEST(Shading, ClosingStopsAfterTheCurrentColumn) {
    struct Closer : JobContext {
        void pump() override {
            if (++columns == 5)
                engine->closing = true;
        }
        TGrad* engine = nullptr;
        int columns = 0;
    } context;
    EngineFixture f;
    f.job();
    f.engine->job.draaias = 50;
    for (double x : {10.0, 20.0, 30.0})
        f.engine->profile.save_point(x, 47);
    context.engine = f.engine.get();
    shade_workpiece(f.grita, &f.bitmap, *f.engine, f.data.path(), &context);
    EXPECT_EQ(columns(f.bitmap).size(), 5u);
    EXPECT_FALSE(f.engine->shaderunning);
    // The next shading starts with `closing` cleared and draws in full.
    f.bitmap.texts.clear();
    shade_workpiece(f.grita, &f.bitmap, *f.engine, f.data.path(), nullptr);
    EXPECT_GT(columns(f.bitmap).size(), 150u);
}

// The work of a shading is bounded by the picture: columns and heights far outside it are
// skipped, whatever the profile's length, the axis's distance or the zoom.
TEST(Shading, DrawsOnlyWhatLandsOnThePicture) {
    struct Case {
        const char* name;
        double axis;
        WindowRec window;
    };
    const Case cases[] = {
        {"axis far above the picture", 100000, {0, 0, 100, 100}},
        {"zoomed into a sliver of the profile", 50, {20, 48, 20.0001, 48.0001}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EngineFixture f;
        f.job();
        f.engine->job.draaias = c.axis;
        for (double x : {10.0, 20.0, 30.0})
            f.engine->profile.save_point(x, 47);
        const WindowRec& w = c.window;
        f.grita.SetWindow(w.xmi, w.ymi, w.xma, w.yma);
        f.grita.SetWindow_BMP(w.xmi, w.ymi, w.xma, w.yma, false);
        shade_workpiece(f.grita, &f.bitmap, *f.engine, f.data.path(), nullptr);
        ASSERT_FALSE(f.bitmap.texts.empty());
        // At most two dots, each drawn twice, per pixel of the 1000 x 1000 picture and its
        // margin; the whole workpiece would take some 10^8.
        EXPECT_LT(f.bitmap.texts.size(), 4u * 1002 * 1002);
        double pixX = 0;
        double pixY = 0;
        f.grita.PixelLength(pixX, pixY);
        for (const auto& t : f.bitmap.texts) {
            const double x = w.xmi + (t.rect.left + t.rect.right) / 2 / 1000 * (w.xma - w.xmi);
            const double y = w.yma - (t.rect.top + t.rect.bottom) / 2 / 1000 * (w.yma - w.ymi);
            ASSERT_GE(x, w.xmi - 2 * pixX);
            ASSERT_LE(x, w.xma + 2 * pixX);
            ASSERT_GE(y, w.ymi - 2 * pixY);
            ASSERT_LE(y, w.yma + 2 * pixY);
        }
    }
}

TEST(Shading, NegativePixelLengthAndBadParameters) {
    EngineFixture f;
    f.job();
    for (double x : {10.0, 20.0})
        f.engine->profile.save_point(x, 47);
    f.grita.SetWindow(100, 0, 0, 100);  // x runs backwards: a negative pixel length
    shade_workpiece(f.grita, &f.bitmap, *f.engine, f.data.path(), nullptr);
    EXPECT_TRUE(f.bitmap.texts.empty());
    EXPECT_EQ(f.notices().back(), " Pixel length is negative");

    std::ofstream(f.data / "pelmo.gul") << "29\r\nbright\r\n70\r\n3\r\n";
    EXPECT_THROW(shade_workpiece(f.grita, &f.bitmap, *f.engine, f.data.path(), nullptr), Error);
    EXPECT_FALSE(f.engine->shaderunning);
}

}  // namespace
}  // namespace ostrivane
