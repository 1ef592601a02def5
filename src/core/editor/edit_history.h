#pragma once
#include <cstddef>
#include <deque>
#include <optional>

#include "core/curve/recorded_moves.h"
#include "core/curve/spline_shape.h"

namespace ostrivane {

// Everything of the editor that the operator edits and a spline program keeps: both splines'
// points and parts and the recorded moves. A value, so undo can keep copies of it.
struct EditorDocument {
    SplineShape spline1;
    SplineShape spline2;
    RecordedMoves moves;
};

// Only the recorded moves that are valid count; slots past Movecount are leftovers.
bool same_moves(const RecordedMoves& a, const RecordedMoves& b);
bool operator==(const EditorDocument& a, const EditorDocument& b);

// Undo and redo over whole documents: before an edit the editor hands over the document as it
// was; an edit that changed nothing is not recorded. The oldest steps fall off beyond the limit.
class EditHistory {
  public:
    static constexpr std::size_t kDefaultLimit = 200;

    explicit EditHistory(std::size_t limit = kDefaultLimit) : limit_(limit) {}

    // Records the step from `before` to `after`, when they differ; a new step drops the redo
    // list. Returns whether a step was recorded.
    bool record(EditorDocument before, const EditorDocument& after);
    // The document to go back to, given the current one (which becomes redoable).
    std::optional<EditorDocument> undo(EditorDocument current);
    std::optional<EditorDocument> redo(EditorDocument current);
    void clear();

    bool can_undo() const { return !undo_.empty(); }
    bool can_redo() const { return !redo_.empty(); }
    std::size_t undo_steps() const { return undo_.size(); }

  private:
    std::size_t limit_;
    std::deque<EditorDocument> undo_;
    std::deque<EditorDocument> redo_;
};

}  // namespace ostrivane
