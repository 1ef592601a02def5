#pragma once
#include <utility>

#include "core/editor/spline_editor.h"

namespace ostrivane {

// One edit of the operator's work: whatever it changed becomes one undo step. A drag in
// progress is closed first, so it stays a step of its own.
class SplineEditor::EditStep {
  public:
    explicit EditStep(SplineEditor& editor) : editor_(editor) {
        editor_.finish_drag();
        before_ = editor_.document();
    }
    ~EditStep() {
        editor_.history_.record(std::move(before_), editor_.document());
        if (editor_.move)
            editor_.drag_before_ = editor_.document();
    }
    EditStep(const EditStep&) = delete;
    EditStep& operator=(const EditStep&) = delete;

  private:
    SplineEditor& editor_;
    EditorDocument before_;
};

}  // namespace ostrivane
