#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace ostrivane {

// The three small modal dialogs the editor asks before it adds a point, adds a circle or
// changes a point's shape values. The window shows real dialogs
// that check their own fields before accepting OK; the command-line tool and the tests answer
// from a script. Presets arrive as text in the general number format; a dialog that is
// cancelled returns nullopt. Fields that are not preset keep what was typed at the last use.
class SplineDialogs {
  public:
    struct Point {
        double Position_X = 0;
        double Position_Y = 0;
    };
    struct Circle {
        double circle_diam = 0;
        double Position_X = 0;
        double Position_Y = 0;
        std::int32_t support_points = 0;
    };
    struct TensionBias {
        double Tension = 0;
        double Bias = 0;
    };

    virtual ~SplineDialogs() = default;
    // Tpoint_dialog with Position_X and Position_Y preset.
    virtual std::optional<Point> point_dialog(std::string_view Position_X,
                                              std::string_view Position_Y) = 0;
    // Tspline_circle with Position_X and Position_Y preset; diameter and support points as
    // last entered.
    virtual std::optional<Circle> circle_dialog(std::string_view Position_X,
                                                std::string_view Position_Y) = 0;
    // Ttens_bias with Tension and Bias preset.
    virtual std::optional<TensionBias> tens_bias_dialog(std::string_view Tension,
                                                        std::string_view Bias) = 0;
};

}  // namespace ostrivane
