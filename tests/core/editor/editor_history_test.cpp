#include "core/editor/edit_history.h"

#include <gtest/gtest.h>

#include "editor_fixture.h"

namespace ostrivane {
namespace {

using test::EditorFixture;
namespace key = editor_key;

class EditorUndoTest : public EditorFixture {
  protected:
    void ctrl(char letter, bool shift = false) {
        editor.FormKeyDown(key::letter(letter), {.shift = shift, .ctrl = true}, std::nullopt);
    }
};

TEST_F(EditorUndoTest, EveryKindOfEditUndoesAndRedoes) {
    const std::vector<std::pair<const char*, std::function<void()>>> edits = {
        {"F2", [&] { key(key::function(2), pixel(400, 10)); }},
        {"add tool",
         [&] {
             editor.choose_tool(SplineEditor::Tool::Add);
             click(500, 20);
         }},
        {"F6 part",
         [&] {
             editor.choose_tool(SplineEditor::Tool::Select);
             click(50, -10);
             hover(150, 10);
             key(key::function(6));
         }},
        {"F4", [&] { key(key::function(4)); }},
        {"F10", [&] { key(key::function(10)); }},
        {"F9", [&] { key(key::function(9), pixel(10, 10)); }},
        {"ALT Z", [&] { alt('Z'); }},
        {"ALT Q", [&] { alt('Q', pixel(30, 30)); }},
        {"ALT R", [&] { alt('R'); }},
        {"F8",
         [&] {
             dialogs.weights = {SplineDialogs::TensionBias{3, 4}};
             key(key::function(8), pixel(100, 0));
         }},
        {"cut",
         [&] {
             select_box(0, -100, 1500, 100);
             editor.cutbutClick();
         }},
        {"import", [&] { editor.import_points("700;1\n800;2\n"); }},
        {"spline 2",
         [&] {
             engine.job.second_spline = true;
             alt('A');
             key(key::function(2), pixel(600, 0));
             alt('A');
         }},
    };
    add_points(engine.profile, {{100, 0}, {200, 30}, {300, 10}});
    editor.add_move(1, 1);
    editor.reset_history();
    for (const auto& [name, edit] : edits) {
        SCOPED_TRACE(name);
        const EditorDocument before = editor.document();
        edit();
        const EditorDocument after = editor.document();
        ASSERT_FALSE(before == after);
        ctrl('Z');
        EXPECT_TRUE(editor.document() == before);
        ctrl('Z', true);
        EXPECT_TRUE(editor.document() == after);
        ctrl('Z');
        ctrl('Y');
        EXPECT_TRUE(editor.document() == after);
    }
    // And all the way back.
    while (editor.undo()) {
    }
    EXPECT_EQ(xs(engine.profile), (std::vector<double>{100, 200, 300}));
    EXPECT_EQ(editor.moves.Movecount, 1);
    EXPECT_FALSE(editor.modified());
}

TEST_F(EditorUndoTest, ADragIsOneStep) {
    add_points(engine.profile, {{100, 0}, {200, 0}, {300, 0}});
    editor.reset_history();
    editor.choose_tool(SplineEditor::Tool::Move);
    click(200, 0);
    for (int i = 1; i <= 20; ++i)
        hover(200 + i, i);
    click(220, 20);
    EXPECT_EQ(editor.history().undo_steps(), 1u);
    editor.undo();
    EXPECT_EQ(engine.profile.X.Tomatch[1], 200);
    EXPECT_EQ(engine.profile.Y.Tomatch[1], 0);
}

TEST_F(EditorUndoTest, UndoDuringADragEndsItFirst) {
    add_points(engine.profile, {{100, 0}, {200, 0}});
    editor.reset_history();
    alt('M', pixel(200, 0));
    hover(210, 10);
    ctrl('Z');
    EXPECT_FALSE(editor.move);
    EXPECT_EQ(engine.profile.X.Tomatch[1], 200);
    ctrl('Y');
    EXPECT_NEAR(engine.profile.X.Tomatch[1], 210, 1e-3);
}

TEST_F(EditorUndoTest, RefusedEditsLeaveNoStep) {
    add_points(engine.profile, {{100, 0}});
    editor.reset_history();
    key(key::function(2), pixel(100, 0));  // a double point
    key(key::function(4));                 // no box yet
    alt('R');                              // no moves
    EXPECT_FALSE(editor.history().can_undo());
    EXPECT_FALSE(editor.modified());
}

TEST_F(EditorUndoTest, KeepsAtLeastAHundredStepsAndANewEditDropsTheRedos) {
    for (int i = 0; i < 150; ++i)
        key(key::function(2), pixel(10 * i, 0));
    ASSERT_EQ(engine.profile.Nopoints, 150);
    EXPECT_GE(editor.history().undo_steps(), 100u);
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(editor.undo());
    EXPECT_EQ(engine.profile.Nopoints, 50);
    EXPECT_TRUE(editor.history().can_redo());
    editor.add_move(1, 1);
    EXPECT_FALSE(editor.history().can_redo());
}

TEST_F(EditorUndoTest, AnEditUndoneIsNoChangeToDiscard) {
    EXPECT_FALSE(editor.modified());
    key(key::function(2), pixel(100, 0));
    EXPECT_TRUE(editor.modified());
    editor.undo();
    EXPECT_FALSE(editor.modified());
    editor.redo();
    editor.mark_saved();
    EXPECT_FALSE(editor.modified());
    editor.reset_history();
    EXPECT_FALSE(editor.history().can_undo());
}

TEST_F(EditorUndoTest, UndoClearsTheMarks) {
    add_points(engine.profile, {{100, 0}, {200, 0}});
    select_box(150, -10, 250, 10);
    ASSERT_TRUE(engine.profile.selected[1]);
    key(key::function(2), pixel(300, 0));
    editor.undo();
    EXPECT_FALSE(engine.profile.selected[1]);
    EXPECT_FALSE(host.cut_enabled);
}

TEST(EditHistory, LimitDropsTheOldestSteps) {
    EditHistory history(3);
    EditorDocument doc;
    for (int i = 1; i <= 5; ++i) {
        EditorDocument next = doc;
        next.moves.Movecount = i;
        history.record(doc, next);
        doc = next;
    }
    EXPECT_EQ(history.undo_steps(), 3u);
    auto back = history.undo(doc);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->moves.Movecount, 4);
}

TEST(EditHistory, MovesCompareOnlyTheirValidSlots) {
    RecordedMoves a;
    RecordedMoves b;
    a.Movements[2] = {5, 5};
    a.Movecount = b.Movecount = 1;
    EXPECT_TRUE(same_moves(a, b));
    b.Movecount = 2;
    EXPECT_FALSE(same_moves(a, b));
}

}  // namespace
}  // namespace ostrivane
