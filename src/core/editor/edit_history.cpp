#include "core/editor/edit_history.h"

#include <utility>

namespace ostrivane {

bool same_moves(const RecordedMoves& a, const RecordedMoves& b) {
    if (a.Movecount != b.Movecount)
        return false;
    for (int i = 1; i <= a.Movecount && i <= RecordedMoves::kMaxMoves; ++i) {
        if (a.Movements[i].X != b.Movements[i].X || a.Movements[i].Y != b.Movements[i].Y)
            return false;
    }
    return true;
}

bool operator==(const EditorDocument& a, const EditorDocument& b) {
    return a.spline1 == b.spline1 && a.spline2 == b.spline2 && same_moves(a.moves, b.moves);
}

bool EditHistory::record(EditorDocument before, const EditorDocument& after) {
    if (before == after)
        return false;
    undo_.push_back(std::move(before));
    while (undo_.size() > limit_)
        undo_.pop_front();
    redo_.clear();
    return true;
}

std::optional<EditorDocument> EditHistory::undo(EditorDocument current) {
    if (undo_.empty())
        return std::nullopt;
    EditorDocument back = std::move(undo_.back());
    undo_.pop_back();
    redo_.push_back(std::move(current));
    return back;
}

std::optional<EditorDocument> EditHistory::redo(EditorDocument current) {
    if (redo_.empty())
        return std::nullopt;
    EditorDocument forward = std::move(redo_.back());
    redo_.pop_back();
    undo_.push_back(std::move(current));
    return forward;
}

void EditHistory::clear() {
    undo_.clear();
    redo_.clear();
}

}  // namespace ostrivane
