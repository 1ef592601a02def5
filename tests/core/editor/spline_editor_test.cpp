#include "core/editor/spline_editor.h"

#include <gtest/gtest.h>

#include "core/curve/spline_file.h"
#include "core/text/coordinate_format.h"
#include "editor_fixture.h"
#include "support/near.h"

namespace ostrivane {
namespace {

using test::EditorFixture;
namespace key = editor_key;

class SplineEditorTest : public EditorFixture {};

TEST_F(SplineEditorTest, LoadShowsTheWholeLengthCentredOnTheAxisWithThePlotsProportions) {
    editor.init_view(120);
    const bounder& b = editor.bounds_of_view;
    EXPECT_EQ(b.min_x, 0);
    EXPECT_EQ(b.max_x, 1500);
    EXPECT_EQ(b.min_y, 120 - 375);
    EXPECT_EQ(b.max_y, 120 + 375);
    EXPECT_EQ(grita.WindowBounds.ymi, -255);
    EXPECT_EQ(grita.WindowBounds.yma, 495);
    EXPECT_EQ(engine.job.draaias, 120);
    EXPECT_EQ(host.label_x, "X 1500.00 mm");
    EXPECT_EQ(host.label_y, "Y 495.00 mm");
    // The bitmap maps the same window onto its own pixels.
    EXPECT_EQ(grita.grbounds_BMP.AX, grita.grbounds.AX);
    EXPECT_EQ(grita.grbounds_BMP.BY, grita.grbounds.BY);
}

TEST_F(SplineEditorTest, LoadResetsTheCurrentSplineAndTheMoves) {
    engine.job.second_spline = true;
    alt('A');
    editor.add_move(1, 2);
    editor.init_view(100);
    EXPECT_TRUE(editor.spline1);
    EXPECT_EQ(editor.moves.Movecount, 0);
}

TEST_F(SplineEditorTest, KeyCommandsOnThePointSets) {
    struct Case {
        const char* name;
        std::function<void()> act;
        std::vector<double> spline1_x;
        std::vector<double> spline2_x;
        std::vector<std::string> messages;
    };
    const std::vector<Case> cases = {
        {"F2 adds at the pointer", [&] { key(key::function(2), pixel(100, 50)); }, {100}, {}, {}},
        {"SHIFT F2 adds like F2",
         [&] { key(key::function(2), pixel(100, 50), {.shift = true}); },
         {100},
         {},
         {}},
        {"F2 outside the plot adds nothing", [&] { key(key::function(2)); }, {}, {}, {}},
        {"F2 twice at one x refuses the second",
         [&] {
             key(key::function(2), pixel(100, 50));
             key(key::function(2), pixel(100, 50));
         },
         {100},
         {},
         {"Double points are not allowed !!!"}},
        {"F2 works on spline 2 after ALT A",
         [&] {
             engine.job.second_spline = true;
             alt('A');
             key(key::function(2), pixel(200, 50));
         },
         {},
         {200},
         {"Working on spline 2."}},
        {"ALT A twice comes back to spline 1",
         [&] {
             engine.job.second_spline = true;
             alt('A');
             alt('A');
             key(key::function(2), pixel(200, 50));
         },
         {200},
         {},
         {"Working on spline 2.", "Working on spline 1."}},
        {"ALT A without a second spline",
         [&] {
             alt('A');
             key(key::function(2), pixel(200, 50));
         },
         {200},
         {},
         {"Second spline is not activated.."}},
        {"a letter without ALT does nothing",
         [&] { key(key::letter('Q'), pixel(200, 50)); },
         {},
         {},
         {}},
        {"ALT D adds the typed point",
         [&] {
             dialogs.points = {SplineDialogs::Point{42, 7}};
             alt('D', pixel(200, 50));
         },
         {42},
         {},
         {}},
        {"ALT D cancelled adds nothing", [&] { alt('D', pixel(200, 50)); }, {}, {}, {}},
        {"ALT C adds a half circle",
         [&] {
             dialogs.circles = {SplineDialogs::Circle{20, 100, 0, 2}};
             alt('C', pixel(0, 0));
         },
         {90, 100, 110},
         {},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        engine.profile.load_shape({});
        engine.spline2.load_shape({});
        engine.job.second_spline = false;
        editor.init_view(100);
        log.clear();
        c.act();
        EXPECT_EQ(xs(engine.profile), c.spline1_x);
        EXPECT_EQ(xs(engine.spline2), c.spline2_x);
        EXPECT_EQ(messages(), c.messages);
    }
}

TEST_F(SplineEditorTest, PointerPositionsCarrySinglePrecision) {
    key(key::function(2), pixel(100.3, 50.7));
    ASSERT_EQ(engine.profile.Nopoints, 1);
    PointF w;
    grita.Coords(pixel(100.3, 50.7).x, pixel(100.3, 50.7).y, w.x, w.y);
    EXPECT_EQ(engine.profile.X.Tomatch[0], static_cast<double>(w.x));
    EXPECT_EQ(engine.profile.Y.Tomatch[0], static_cast<double>(w.y));
}

TEST_F(SplineEditorTest, F2OutsideThePlotDoesNotRepaint) {
    const int before = host.repaints;
    key(key::function(2));
    EXPECT_EQ(host.repaints, before);
    key(key::function(2), pixel(10, 10));
    EXPECT_EQ(host.repaints, before + 1);
}

TEST_F(SplineEditorTest, ThePointLimitCountsSpline1WhicheverSplineIsCurrent) {
    std::vector<ShapePoint> full;
    for (int k = 0; k < 1000; ++k)
        full.push_back({static_cast<double>(k), 0});
    engine.profile.load_points(full);
    engine.job.second_spline = true;
    alt('A');
    key(key::function(2), pixel(1200, 50));
    EXPECT_EQ(engine.spline2.Nopoints, 0);
    editor.choose_tool(SplineEditor::Tool::Add);
    click(1300, 50);
    EXPECT_EQ(engine.spline2.Nopoints, 0);
    EXPECT_EQ(engine.profile.Nopoints, 1000);
}

TEST_F(SplineEditorTest, SelectionMarksWhatLiesStrictlyInsideTheBox) {
    add_points(engine.profile, {{100, 0}, {200, 0}, {300, 0}});
    add_points(engine.spline2, {{150, 0}, {400, 0}});
    engine.profile.save_part(50, 120);   // starts left of the box, ends inside
    engine.profile.save_part(130, 170);  // wholly inside
    engine.profile.save_part(500, 600);  // outside
    // The right edge of the box lies exactly on x = 300.
    select_box(60, -50, 300, 50);
    EXPECT_TRUE(engine.profile.selected[0]);
    EXPECT_TRUE(engine.profile.selected[1]);
    EXPECT_FALSE(engine.profile.selected[2]);
    EXPECT_TRUE(engine.spline2.selected[0]);
    EXPECT_FALSE(engine.spline2.selected[1]);
    EXPECT_TRUE(engine.profile.parts_selected[1]);
    EXPECT_TRUE(engine.profile.parts_selected[2]);
    EXPECT_FALSE(engine.profile.parts_selected[3]);
    EXPECT_TRUE(host.cut_enabled);
    // The select tool has done its work.
    EXPECT_FALSE(editor.select_but);
    EXPECT_FALSE(editor.draw_box);

    editor.cutbutClick();
    EXPECT_EQ(xs(engine.profile), (std::vector<double>{300}));
    EXPECT_EQ(xs(engine.spline2), (std::vector<double>{400}));
    ASSERT_EQ(engine.profile.NoParts, 1);
    EXPECT_EQ(engine.profile.fromX[1], 500);
}

TEST_F(SplineEditorTest, CutRemovesExactlyTheMarkedParts) {
    engine.profile.save_part(10, 20);
    engine.profile.save_part(30, 40);
    engine.profile.save_part(50, 60);
    engine.profile.parts_selected[1] = true;
    engine.profile.parts_selected[3] = true;
    editor.cutbutClick();
    ASSERT_EQ(engine.profile.NoParts, 1);
    EXPECT_EQ(engine.profile.fromX[1], 30);
    EXPECT_EQ(engine.profile.ToX[1], 40);
}

TEST_F(SplineEditorTest, SecondClickBackAtTheFirstCornerSelectsNothing) {
    add_points(engine.profile, {{100, 0}});
    select_box(50, -50, 150, 50);
    ASSERT_TRUE(host.cut_enabled);
    editor.choose_tool(SplineEditor::Tool::Select);
    click(50, -50);
    hover(150, 50);
    hover(50, -50);
    click(50, -50);
    EXPECT_FALSE(engine.profile.selected[0]);
    EXPECT_FALSE(host.cut_enabled);
}

TEST_F(SplineEditorTest, ZoomToolNeedsABoxWithArea) {
    editor.choose_tool(SplineEditor::Tool::Zoom);
    click(100, 0);
    hover(300, 0);  // same pixel row
    click(300, 0);
    EXPECT_EQ(messages(), (std::vector<std::string>{"Selection box too small..."}));
    EXPECT_TRUE(editor.draw_box);
    EXPECT_TRUE(editor.zm_but);
    EXPECT_EQ(editor.bounds_of_view.max_x, 1500);

    hover(300, 100);
    click(300, 100);
    EXPECT_FALSE(editor.draw_box);
    EXPECT_FALSE(editor.zm_but);
    EXPECT_EQ(editor.bounds_of_view.min_x, 100);
    EXPECT_EQ(editor.bounds_of_view.max_x, 300);
    EXPECT_EQ(editor.bounds_of_view.min_y, 0);
    EXPECT_EQ(editor.bounds_of_view.max_y, 100);
    // The guard widens what is shown to the plot's proportions about the box's centre.
    EXPECT_EQ(grita.WindowBounds.xmi, 100);
    EXPECT_EQ(grita.WindowBounds.xma, 300);
    EXPECT_EQ(grita.WindowBounds.ymi, 0);
    EXPECT_EQ(grita.WindowBounds.yma, 100);
}

TEST_F(SplineEditorTest, ASecondClickWithoutMovingMakesAnEmptyBoxNotAnOldOne) {
    // An earlier box ended far away; a new box clicked twice on one spot must not reach there.
    select_box(50, -50, 150, 50);
    editor.choose_tool(SplineEditor::Tool::Zoom);
    click(400, 100);
    click(400, 100);
    EXPECT_EQ(messages(), (std::vector<std::string>{"Selection box too small..."}));
    EXPECT_TRUE(editor.zm_but);
    EXPECT_EQ(editor.bounds_of_view.max_x, 1500);
}

TEST_F(SplineEditorTest, F4UsesTheLastBoxEvenWhenItIsNoLongerShown) {
    add_points(engine.profile, {{100, 0}, {200, 0}, {300, 0}});
    engine.profile.save_part(160, 240);
    select_box(150, -50, 250, 50);
    ASSERT_FALSE(editor.draw_box);
    key(key::function(5));  // needs a box being drawn: nothing
    EXPECT_EQ(xs(engine.profile), (std::vector<double>{100, 200, 300}));
    key(key::function(4));
    EXPECT_EQ(xs(engine.profile), (std::vector<double>{100, 300}));
    EXPECT_EQ(engine.profile.NoParts, 0);
}

TEST_F(SplineEditorTest, F4OnSpline2LeavesTheProfilesParts) {
    engine.job.second_spline = true;
    add_points(engine.spline2, {{200, 0}});
    engine.profile.save_part(150, 250);
    select_box(150, -50, 250, 50);
    alt('A');
    key(key::function(4));
    EXPECT_EQ(engine.spline2.Nopoints, 0);
    EXPECT_EQ(engine.profile.NoParts, 1);
}

TEST_F(SplineEditorTest, F6MarksAFineMillingPartFromTheBox) {
    editor.choose_tool(SplineEditor::Tool::Select);
    click(100, 0);
    hover(200, 50);
    key(key::function(6));
    ASSERT_EQ(engine.profile.NoParts, 1);
    EXPECT_NEAR(engine.profile.fromX[1], 100, 1e-3);
    EXPECT_NEAR(engine.profile.ToX[1], 200, 1e-3);
}

TEST_F(SplineEditorTest, F3ZoomsToTheBoxAndKeepsDrawingIt) {
    editor.choose_tool(SplineEditor::Tool::Select);
    click(100, 0);
    hover(100, 50);
    key(key::function(3));
    EXPECT_EQ(messages(), (std::vector<std::string>{"Selection box too small..."}));
    EXPECT_EQ(grita.WindowBounds.xma, 1500);
    hover(300, 50);
    key(key::function(3));
    EXPECT_TRUE(editor.draw_box);
    EXPECT_EQ(editor.bounds_of_view.max_x, 300);
    EXPECT_EQ(grita.WindowBounds.xmi, 100);
}

TEST_F(SplineEditorTest, F3WithoutABoxZoomsAllAroundTheCurrentAxis) {
    editor.choose_tool(SplineEditor::Tool::Zoom);
    click(100, 0);
    hover(300, 100);
    click(300, 100);
    editor.set_turn_axis(50);
    const int clears = host.bitmap_clears;
    key(key::function(3));
    EXPECT_EQ(editor.bounds_of_view.min_x, 0);
    EXPECT_EQ(editor.bounds_of_view.max_x, 1500);
    EXPECT_EQ(editor.bounds_of_view.min_y, 50 - 375);
    EXPECT_EQ(editor.bounds_of_view.max_y, 50 + 375);
    EXPECT_EQ(grita.WindowBounds.ymi, -325);
    EXPECT_EQ(host.bitmap_clears, clears + 1);
}

TEST_F(SplineEditorTest, ChangingTheAxisMovesTheDrawingButNotTheView) {
    editor.set_turn_axis(40);
    EXPECT_EQ(engine.job.draaias, 40);
    EXPECT_EQ(grita.WindowBounds.ymi, -275);
}

TEST_F(SplineEditorTest, ShiftF3ShowsTheSplineFromItsLastGradientCalculation) {
    engine.profile.set_data(1, 10, false);
    engine.job.draaias = 100;
    add_points(engine.profile, {{10, 20}, {60, 40}, {110, 30}});
    ASSERT_EQ(engine.profile.Calcgradients(), Outcome::done);
    const double lowest = engine.profile.YminY;
    engine.profile.movePoint(0, 0);  // nothing is picked: changes nothing, but stands for an edit
    engine.profile.Y.Tomatch[0] = -500;
    key(key::function(3), std::nullopt, {.shift = true});
    const double ymax = static_cast<float>(lowest + (100 - lowest) * 2);
    // The guard may widen one axis; the other is the spline's.
    const WindowRec& w = grita.WindowBounds;
    const bool x_kept = w.xmi == engine.profile.XminX && w.xma == engine.profile.XmaxX;
    const bool y_kept = w.ymi == lowest && w.yma == ymax;
    EXPECT_TRUE(x_kept || y_kept);
    EXPECT_NEAR((w.ymi + w.yma) / 2, (lowest + ymax) / 2, 1e-3);
    EXPECT_EQ(editor.bounds_of_view.max_x, 1500);  // the view record stays

    host.axis_valid = false;
    EXPECT_THROW(key(key::function(3), std::nullopt, {.shift = true}), Error);
}

TEST_F(SplineEditorTest, F11ShowsTheBeam) {
    engine.job.thickness = 80;
    key(key::function(11));  // no profile yet: nothing
    EXPECT_EQ(grita.WindowBounds.xma, 1500);
    add_points(engine.profile, {{10, 20}, {400, 40}});
    key(key::function(11));
    const WindowRec& w = grita.WindowBounds;
    EXPECT_NEAR((w.xmi + w.xma) / 2, 205, 1e-3);
    EXPECT_LE(w.ymi, 20);
    EXPECT_GE(w.yma, 180);
    EXPECT_EQ(editor.bounds_of_view.max_x, 1500);
}

TEST_F(SplineEditorTest, TransformKeysEndTheBox) {
    add_points(engine.profile, {{100, 10}, {200, 30}});
    editor.choose_tool(SplineEditor::Tool::Select);
    click(0, 0);
    key(key::function(10));
    EXPECT_FALSE(editor.draw_box);
    EXPECT_EQ(engine.profile.Y.Tomatch[0], 30);
    EXPECT_EQ(engine.profile.Y.Tomatch[1], 10);
    click(0, 0);
    key(key::function(9), pixel(500, 100));
    EXPECT_FALSE(editor.draw_box);
    EXPECT_NEAR(engine.profile.X.Tomatch[0], 500, 2.5);
    EXPECT_NEAR(engine.profile.Y.Tomatch[1], 80, 2.5);
    const double second_y = engine.profile.Y.Tomatch[1];
    alt('Z');
    EXPECT_EQ(engine.profile.Y.Tomatch[0], second_y);
}

TEST_F(SplineEditorTest, F8ChangesTheNearestPointsShapeValues) {
    add_points(engine.profile, {{100, 10}, {200, 30}});
    dialogs.weights = {SplineDialogs::TensionBias{2.5, 0.5}};
    key(key::function(8), pixel(190, 30));
    EXPECT_EQ(dialogs.presets.back(), (std::pair<std::string, std::string>{"1", "1"}));
    EXPECT_EQ(engine.profile.alpha1[1], 2.5);
    EXPECT_EQ(engine.profile.alpha2[1], 0.5);
    // Cancelled: the dialog showed the new values, and nothing changes.
    key(key::function(8), pixel(190, 30));
    EXPECT_EQ(dialogs.presets.back(), (std::pair<std::string, std::string>{"2.5", "0.5"}));
    EXPECT_EQ(engine.profile.alpha1[1], 2.5);
}

TEST_F(SplineEditorTest, EscapeEndsBoxAndDragAndClearsEveryMark) {
    add_points(engine.profile, {{100, 0}});
    add_points(engine.spline2, {{150, 0}});
    engine.profile.save_part(50, 120);
    select_box(0, -50, 200, 50);
    editor.choose_tool(SplineEditor::Tool::Select);
    click(0, 0);
    alt('M', pixel(100, 0));
    ASSERT_TRUE(editor.move);
    key(key::Escape);
    EXPECT_FALSE(editor.draw_box);
    EXPECT_FALSE(editor.move);
    EXPECT_FALSE(engine.profile.selected[0]);
    EXPECT_FALSE(engine.spline2.selected[0]);
    EXPECT_FALSE(engine.profile.parts_selected[1]);
}

TEST_F(SplineEditorTest, MoveToolDragsThePointInXOrder) {
    add_points(engine.profile, {{100, 0}, {200, 0}, {300, 0}});
    editor.choose_tool(SplineEditor::Tool::Move);
    click(200, 0);
    EXPECT_TRUE(editor.move);
    hover(250, 50);
    EXPECT_NEAR(engine.profile.X.Tomatch[1], 250, 1e-3);
    EXPECT_NEAR(engine.profile.Y.Tomatch[1], 50, 1e-3);
    hover(350, 50);  // beyond the next point: refused
    EXPECT_NEAR(engine.profile.X.Tomatch[1], 250, 1e-3);
    click(350, 50);
    EXPECT_FALSE(editor.move);
    hover(260, 0);
    EXPECT_NEAR(engine.profile.X.Tomatch[1], 250, 1e-3);
}

TEST_F(SplineEditorTest, AltMDragsWithoutTheMoveToolAndStopsTheOtherTools) {
    add_points(engine.profile, {{100, 0}, {200, 0}});
    editor.choose_tool(SplineEditor::Tool::Add);
    alt('M', pixel(100, 0));
    EXPECT_TRUE(editor.move);
    EXPECT_FALSE(editor.add_point_but);
    EXPECT_FALSE(editor.mov_but);
    hover(50, 20);
    EXPECT_NEAR(engine.profile.X.Tomatch[0], 50, 1e-3);
    alt('M');
    EXPECT_FALSE(editor.move);
}

TEST_F(SplineEditorTest, MouseMovesShowTheWorldPositionWithoutATool) {
    hover(123.456, -7.5);
    PointF w;
    const PointF p = pixel(123.456, -7.5);
    grita.Coords(p.x, p.y, w.x, w.y);
    EXPECT_EQ(host.label_x, "X " + format_coordinate(w.x) + " mm");
    EXPECT_EQ(host.label_y, "Y " + format_coordinate(w.y) + " mm");
    EXPECT_EQ(host.label_y.substr(0, 6), "Y -7.5");
}

TEST_F(SplineEditorTest, RecordedMovesAreDrawnAsAStairPath) {
    alt('Q', pixel(0, 0));
    editor.moves.Movements[1] = {0, 0};
    editor.add_move(10, 5);
    editor.add_move(20, 0);
    screen.calls.clear();
    editor.draw_moves();
    std::vector<std::pair<PointF, PointF>> lines;
    for (const CanvasCall& c : screen.calls) {
        ASSERT_EQ(c.kind, CanvasCall::Kind::Line);
        EXPECT_EQ(c.pen.color, 0xFF800080u);
        lines.emplace_back(c.points[0], c.points[1]);
    }
    const std::vector<std::pair<PointF, PointF>> expected = {
        {pixel(0, 0), pixel(10, 0)},
        {pixel(10, 0), pixel(10, 5)},
        {pixel(10, 5), pixel(20, 5)},
        {pixel(20, 5), pixel(20, 0)},
    };
    EXPECT_EQ(lines, expected);
}

TEST_F(SplineEditorTest, MovesNeedThePointerAndStopAtFifty) {
    alt('Q');
    EXPECT_EQ(editor.moves.Movecount, 0);
    for (int i = 0; i < 50; ++i)
        alt('Q', pixel(i, 0));
    EXPECT_EQ(editor.moves.Movecount, 50);
    log.clear();
    alt('Q', pixel(60, 0));
    EXPECT_EQ(editor.moves.Movecount, 50);
    EXPECT_EQ(messages(), (std::vector<std::string>{"No more than 50 moves can be recorded"}));
    alt('R');
    EXPECT_EQ(editor.moves.Movecount, 49);
    editor.moves.Movecount = 0;
    alt('R');
    EXPECT_EQ(editor.moves.Movecount, 0);
}

TEST_F(SplineEditorTest, PaintDrawsMovesBoxAndSplinesInOneScene) {
    add_points(engine.profile, {{100, 0}, {200, 10}});
    editor.add_move(0, 0);
    editor.add_move(10, 10);
    editor.choose_tool(SplineEditor::Tool::Select);
    click(0, 0);
    hover(50, 50);
    screen.calls.clear();
    screen.scenes_begun = 0;
    editor.paint();
    EXPECT_FALSE(screen.drawn_outside_scene);
    ASSERT_GE(screen.calls.size(), 4u);
    EXPECT_EQ(screen.calls[0].kind, CanvasCall::Kind::Line);  // the moves first
    EXPECT_EQ(screen.calls[2].kind, CanvasCall::Kind::Rect);  // then the box
    EXPECT_EQ(screen.calls[2].pen.color, 0xFFFF0000u);
}

TEST_F(SplineEditorTest, KeysThatRunLongWorkClearTheBitmapFirst) {
    key(key::function(7));
    alt('S');
    EXPECT_EQ(host.calls, (std::vector<std::string>{"F7", "shade"}));
    EXPECT_EQ(host.bitmap_clears, 2);
    key(key::function(1));
    EXPECT_EQ(host.commands_shown, 1);
}

TEST_F(SplineEditorTest, TabChangesTheDrawingDensityOfSpline1) {
    engine.job.second_spline = true;
    alt('A');
    key(key::Tab);
    EXPECT_EQ(engine.profile.NumIntervals, 40);
    EXPECT_EQ(engine.spline2.NumIntervals, 20);
    key(key::Tab, std::nullopt, {.shift = true});
    key(key::Tab, std::nullopt, {.shift = true});
    EXPECT_EQ(engine.profile.NumIntervals, 20);
}

// --- loading ----------------------------------------------------------------------------

TEST_F(SplineEditorTest, ASplineFileOfTwoBytesIsNotRead) {
    add_points(engine.profile, {{1, 1}});
    editor.load_spline_file(std::string("\x88\x27", 2));
    EXPECT_EQ(engine.profile.Nopoints, 1);
    EXPECT_TRUE(log.empty());
}

TEST_F(SplineEditorTest, LoadingKeepsAtMost1000PointsOnSpline1) {
    SplineDocument doc;
    for (int k = 0; k < 1200; ++k)
        doc.profile.points.push_back({static_cast<double>(k), 1});
    doc.spline2.points = {{5, 6}};
    doc.moves.Movecount = 1;
    doc.moves.Movements[1] = {0.1, 0.2};
    editor.load_spline_file(write_spline_file(doc));
    EXPECT_EQ(engine.profile.Nopoints, 1000);
    EXPECT_EQ(engine.profile.X.Tomatch[999], 999);
    EXPECT_EQ(engine.spline2.Nopoints, 1);
    ASSERT_EQ(editor.moves.Movecount, 1);
    EXPECT_EQ(editor.moves.Movements[1].Y, 0.2);
    // Never silently: the operator learns what the file held.
    EXPECT_EQ(messages(), std::vector<std::string>{
                              "The profile in the spline file holds 1200 points; the editor keeps "
                              "the first 1000 and dropped 200"});
    // A file within the limit says nothing.
    log.clear();
    doc.profile.points.resize(1000);
    editor.load_spline_file(write_spline_file(doc));
    EXPECT_EQ(engine.profile.Nopoints, 1000);
    EXPECT_TRUE(log.empty());
}

TEST_F(SplineEditorTest, ASplineFileWithoutMovesSaysSoAndLeavesNoMoves) {
    SplineDocument doc;
    doc.profile.points = {{1, 2}, {3, 4}};
    doc.spline2.points = {{5, 6}};
    std::string bytes = write_spline_file(doc);
    bytes.resize(bytes.size() - 4);
    editor.add_move(1, 1);
    editor.init_view(100);
    editor.load_spline_file(bytes);
    EXPECT_EQ(engine.profile.Nopoints, 2);
    EXPECT_EQ(editor.moves.Movecount, 0);
    EXPECT_EQ(messages(), (std::vector<std::string>{"Fault while reading......"}));
}

TEST_F(SplineEditorTest, SplineFileRoundTripIsExact) {
    add_points(engine.profile, {{1.1, 2.2}, {3.3, 4.4}});
    engine.profile.alpha1[0] = 0.7;
    engine.profile.save_part(1.5, 2.5);
    add_points(engine.spline2, {{0.1, 0.3}});
    editor.add_move(1.0 / 3, 2.0 / 3);
    editor.add_move(-5, 7);
    const std::string bytes = editor.spline_file();
    EXPECT_EQ(bytes.size(), 2u + (6 + 32 * 2) + (2 + 16) + (6 + 32) + (4 + 16 * 2));
    const EditorDocument before = editor.document();
    engine.profile.load_shape({});
    engine.spline2.load_shape({});
    editor.init_view(100);
    editor.load_spline_file(bytes);
    EXPECT_TRUE(editor.document() == before);
    EXPECT_EQ(editor.moves.Movements[1].X, 1.0 / 3);
}

TEST_F(SplineEditorTest, ImportingTheSameFileTwiceAddsNothingTheSecondTime) {
    const std::string text = "10;5\nno semicolon\n 20 ; 7 \n";
    EXPECT_EQ(editor.import_points(text), 0);
    EXPECT_EQ(xs(engine.profile), (std::vector<double>{10, 20}));
    EXPECT_EQ(engine.profile.Y.Tomatch[1], 7);
    log.clear();
    editor.import_points(text);
    EXPECT_EQ(xs(engine.profile), (std::vector<double>{10, 20}));
    // One message for all the points left out.
    EXPECT_EQ(messages(),
              (std::vector<std::string>{"Double points are not allowed !!! (2 points at an x "
                                        "already taken were left out)"}));
}

TEST_F(SplineEditorTest, ImportStopsAtTheFirstBadNumberAndKeepsWhatCameBefore) {
    EXPECT_THROW(editor.import_points("1;2\n1,5;2\n3;4\n"), Error);
    EXPECT_EQ(xs(engine.profile), (std::vector<double>{1}));
    // One step takes the whole import back.
    EXPECT_TRUE(editor.undo());
    EXPECT_EQ(engine.profile.Nopoints, 0);
}

TEST_F(SplineEditorTest, ImportAlwaysGoesToSpline1) {
    engine.job.second_spline = true;
    alt('A');
    editor.import_points("1;2\n");
    EXPECT_EQ(engine.profile.Nopoints, 1);
    EXPECT_EQ(engine.spline2.Nopoints, 0);
}

}  // namespace
}  // namespace ostrivane
