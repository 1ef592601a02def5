#include "core/editor/editor_dialogs.h"

#include <cmath>
#include <string>

#include "core/editor/working_range.h"

namespace ostrivane {

bool EditorDialogs::in_range(std::initializer_list<std::pair<double, const char*>> values) {
    for (const auto& [value, label] : values) {
        if (const auto problem = working_range_problem(value, label)) {
            notices_.notice(*problem + " Nothing was added.");
            return false;
        }
    }
    return true;
}

std::optional<SplineDialogs::Point> EditorDialogs::point_dialog(std::string_view Position_X,
                                                                std::string_view Position_Y) {
    if (inner_ == nullptr)
        return std::nullopt;
    auto entered = inner_->point_dialog(Position_X, Position_Y);
    if (!entered || !in_range({{entered->Position_X, "Position X (mm)"},
                               {entered->Position_Y, "Position Y (mm)"}}))
        return std::nullopt;
    return entered;
}

std::optional<SplineDialogs::Circle> EditorDialogs::circle_dialog(std::string_view Position_X,
                                                                  std::string_view Position_Y) {
    if (inner_ == nullptr)
        return std::nullopt;
    auto entered = inner_->circle_dialog(Position_X, Position_Y);
    if (!entered)
        return std::nullopt;
    // Every support point lies within half the diameter of the centre.
    const double radius = std::fabs(entered->circle_diam) / 2;
    if (!in_range({{entered->circle_diam, "Circle diameter (mm)"},
                   {entered->Position_X - radius, "Position X (mm) less the radius"},
                   {entered->Position_X + radius, "Position X (mm) plus the radius"},
                   {entered->Position_Y - radius, "Position Y (mm) less the radius"},
                   {entered->Position_Y + radius, "Position Y (mm) plus the radius"}}))
        return std::nullopt;
    // n support points give the circle n + 1 points, from one end of the half circle to the
    // other.
    const long long points = static_cast<long long>(entered->support_points) + 1;
    const int room = room_ ? room_() : 0;
    if (entered->support_points > 0 && points > room) {
        notices_.notice("A circle of " + std::to_string(entered->support_points) +
                        " support points makes " + std::to_string(points) +
                        " points, but the spline has room for " +
                        std::to_string(std::max(room, 0)) + " more. Nothing was added.");
        return std::nullopt;
    }
    return entered;
}

std::optional<SplineDialogs::TensionBias> EditorDialogs::tens_bias_dialog(std::string_view Tension,
                                                                          std::string_view Bias) {
    if (inner_ == nullptr)
        return std::nullopt;
    return inner_->tens_bias_dialog(Tension, Bias);
}

}  // namespace ostrivane
