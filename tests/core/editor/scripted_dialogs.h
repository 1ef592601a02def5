#pragma once
#include <optional>
#include <string>
#include <vector>

#include "core/editor/spline_dialogs.h"

namespace ostrivane::test {

// Answers each dialog with the next scripted value (nullopt = Cancel) and keeps the presets.
class ScriptedDialogs : public SplineDialogs {
  public:
    std::optional<Point> point_dialog(std::string_view x, std::string_view y) override {
        presets.push_back({std::string(x), std::string(y)});
        return next(points);
    }
    std::optional<Circle> circle_dialog(std::string_view x, std::string_view y) override {
        presets.push_back({std::string(x), std::string(y)});
        return next(circles);
    }
    std::optional<TensionBias> tens_bias_dialog(std::string_view t, std::string_view b) override {
        presets.push_back({std::string(t), std::string(b)});
        return next(weights);
    }

    std::vector<std::optional<Point>> points;
    std::vector<std::optional<Circle>> circles;
    std::vector<std::optional<TensionBias>> weights;
    std::vector<std::pair<std::string, std::string>> presets;

  private:
    template <typename T>
    static std::optional<T> next(std::vector<std::optional<T>>& answers) {
        if (answers.empty())
            return std::nullopt;
        auto answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
};

}  // namespace ostrivane::test
