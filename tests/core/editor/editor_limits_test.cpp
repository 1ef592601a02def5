#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/editor/working_range.h"
#include "editor_fixture.h"

namespace ostrivane {
namespace {

using test::EditorFixture;
using Point = SplineDialogs::Point;
using Circle = SplineDialogs::Circle;

class EditorLimitsTest : public EditorFixture {};

TEST(WorkingRange, AcceptsFiniteValuesUpToTheRange) {
    for (double ok : {0.0, -100000.0, 100000.0, 1e-300, -99999.999})
        EXPECT_TRUE(within_working_range(ok)) << ok;
    const double inf = std::numeric_limits<double>::infinity();
    for (double bad : {100000.001, -1e300, 1e308, inf, -inf, std::nan("")})
        EXPECT_FALSE(within_working_range(bad)) << bad;
    EXPECT_EQ(working_range_problem(-1e300, "Position Y (mm)"),
              "Position Y (mm) must lie between -100000 and 100000, not -1E300.");
    EXPECT_EQ(working_range_problem(5, "Position Y (mm)"), std::nullopt);
}

TEST_F(EditorLimitsTest, AltDRefusesCoordinatesOutsideTheWorkingRange) {
    dialogs.points = {Point{10, -1e300}, Point{1e6, 5}, Point{std::nan(""), 5},
                      Point{-100000, 100000}};
    for (int k = 0; k < 3; ++k)
        alt('D', pixel(100, 10));
    EXPECT_EQ(engine.profile.Nopoints, 0);
    ASSERT_EQ(messages().size(), 3u);
    EXPECT_EQ(
        messages()[0],
        "Position Y (mm) must lie between -100000 and 100000, not -1E300. Nothing was added.");
    EXPECT_FALSE(editor.history().can_undo());
    // The edge of the range is inside it.
    alt('D', pixel(100, 10));
    EXPECT_EQ(engine.profile.Nopoints, 1);
}

TEST_F(EditorLimitsTest, AltCStaysWithinTheRangeAndThePointLimit) {
    struct Case {
        Circle circle;
        int before;  // points on the profile before
        int after;
        const char* notice;  // null: none
    };
    const Case cases[] = {
        {{10, 500, 0, 3000},
         0,
         0,
         "A circle of 3000 support points makes 3001 points, but the spline has room for 1000 "
         "more. Nothing was added."},
        {{10, 500, 0, 9}, 990, 1000, nullptr},  // exactly the room left
        {{10, 500, 0, 10},
         990,
         990,
         "A circle of 10 support points makes 11 points, but the spline has room for 10 more. "
         "Nothing was added."},
        {{1e6, 500, 0, 4},
         0,
         0,
         "Circle diameter (mm) must lie between -100000 and 100000, not 1000000. Nothing was "
         "added."},
        {{10, 100000, 0, 4},
         0,
         0,
         "Position X (mm) plus the radius must lie between -100000 and 100000, not 100005. "
         "Nothing was added."},
        {{10, 500, 0, 4}, 0, 5, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.circle.support_points);
        engine.profile.load_points({});
        for (int k = 0; k < c.before; ++k)
            engine.profile.save_point(k - 1000.0, 0);
        log.clear();
        dialogs.circles = {c.circle};
        alt('C', pixel(500, 0));
        EXPECT_EQ(engine.profile.Nopoints, c.after);
        if (c.notice == nullptr) {
            EXPECT_TRUE(messages().empty());
        } else {
            EXPECT_EQ(messages(), std::vector<std::string>{c.notice});
        }
    }
}

TEST_F(EditorLimitsTest, WheelZoomKeepsTheWorldPointUnderThePointer) {
    const PointF at = pixel(300, 50);
    const WindowRec before = grita.WindowBounds;
    editor.wheel_zoom(at.x, at.y, 0.5);
    const WindowRec after = grita.WindowBounds;
    EXPECT_NEAR(after.xma - after.xmi, (before.xma - before.xmi) / 2, 1e-6);
    EXPECT_NEAR(after.yma - after.ymi, (before.yma - before.ymi) / 2, 1e-6);
    PointF w;
    grita.Coords(at.x, at.y, w.x, w.y);
    EXPECT_NEAR(w.x, 300, 1e-3);
    EXPECT_NEAR(w.y, 50, 1e-3);
    EXPECT_EQ(editor.bounds_of_view.min_x, after.xmi);
    EXPECT_GE(host.bitmap_clears, 1);  // the picture of the old view is gone
    // Out again, then far beyond: the view stops at its widest, and at its narrowest inwards.
    for (int k = 0; k < 40; ++k)
        editor.wheel_zoom(at.x, at.y, 2);
    EXPECT_NEAR(grita.WindowBounds.xma - grita.WindowBounds.xmi, kMaxViewWidth, 1e-6);
    for (int k = 0; k < 80; ++k)
        editor.wheel_zoom(at.x, at.y, 0.5);
    EXPECT_NEAR(grita.WindowBounds.xma - grita.WindowBounds.xmi, kMinViewWidth, 1e-9);
}

TEST_F(EditorLimitsTest, MiddleDragMovesTheDrawingWithTheMouse) {
    const PointF from = pixel(300, 50);
    editor.pan_start(from.x, from.y);
    EXPECT_TRUE(editor.panning());
    editor.pan_to(from.x + 40, from.y - 20);
    editor.pan_to(from.x + 80, from.y - 40);
    editor.pan_end();
    EXPECT_FALSE(editor.panning());
    // The world point that was under the pointer has come along with it.
    PointF w;
    grita.Coords(from.x + 80, from.y - 40, w.x, w.y);
    EXPECT_NEAR(w.x, 300, 1e-3);
    EXPECT_NEAR(w.y, 50, 1e-3);
    // Without a drag begun, moves do nothing.
    const WindowRec still = grita.WindowBounds;
    editor.pan_to(0, 0);
    EXPECT_EQ(grita.WindowBounds.xmi, still.xmi);
    // The view's centre stays within the working range, however far the drag.
    editor.pan_start(0, 0);
    editor.pan_to(-1e9f, 1e9f);
    EXPECT_NEAR((grita.WindowBounds.xmi + grita.WindowBounds.xma) / 2, kWorkingRange, 1e-6);
    EXPECT_NEAR((grita.WindowBounds.ymi + grita.WindowBounds.yma) / 2, kWorkingRange, 1e-6);
}

TEST_F(EditorLimitsTest, RevertReturnsToWhatWasLastLoadedOrSaved) {
    add_points(engine.profile, {{10, 1}, {20, 2}});
    editor.reset_history();  // as after a load
    key(editor_key::function(2), pixel(500, 5));
    editor.add_move(1, 2);
    ASSERT_TRUE(editor.modified());
    editor.revert();
    EXPECT_FALSE(editor.modified());
    EXPECT_EQ(xs(engine.profile), (std::vector<double>{10, 20}));
    EXPECT_EQ(editor.moves.Movecount, 0);
    EXPECT_FALSE(editor.history().can_undo());
}

}  // namespace
}  // namespace ostrivane
