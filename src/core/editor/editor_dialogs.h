#pragma once
#include <functional>

#include "core/editor/spline_dialogs.h"
#include "core/text/message_sink.h"

namespace ostrivane {

// The point-set dialogs as the editor offers them: what the operator typed is refused, with a
// notice, when a point would lie outside the working range or a circle would take the spline
// past the editor's point limit. The refused dialog counts as cancelled.
class EditorDialogs final : public SplineDialogs {
  public:
    // `room`: how many more points the spline the commands work on may take.
    EditorDialogs(MessageSink& notices, std::function<int()> room)
        : notices_(notices), room_(std::move(room)) {}

    // The dialogs that ask the operator; null: none (every dialog counts as cancelled).
    void set_inner(SplineDialogs* inner) { inner_ = inner; }

    std::optional<Point> point_dialog(std::string_view Position_X,
                                      std::string_view Position_Y) override;
    std::optional<Circle> circle_dialog(std::string_view Position_X,
                                        std::string_view Position_Y) override;
    std::optional<TensionBias> tens_bias_dialog(std::string_view Tension,
                                                std::string_view Bias) override;

  private:
    // False, with a notice, for the first value outside the working range.
    bool in_range(std::initializer_list<std::pair<double, const char*>> values);

    MessageSink& notices_;
    std::function<int()> room_;
    SplineDialogs* inner_ = nullptr;
};

}  // namespace ostrivane
