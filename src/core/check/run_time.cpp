#include "core/check/run_time.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ostrivane {

RunTimer::RunTimer(const MachineLimits& limits, const MachineSettings& settings) : limits_(limits) {
    constexpr std::string_view letters = "XYZW";
    for (std::size_t a = 0; a < 4; ++a) {
        const auto at = letters.find(settings.letter[a]);
        slot_[a] = at == std::string_view::npos ? static_cast<int>(a) : static_cast<int>(at);
    }
}

double RunTimer::time_of(const ProgramMove& pm) const {
    const Move& m = pm.move;
    if (m.kind == MoveKind::dwell)
        return m.milliseconds / 1000;
    if (m.kind == MoveKind::end)
        return 0;
    std::array<double, 4> d{};
    for (std::size_t a = 0; a < 4; ++a) {
        if (m.moves(program_axes[a]))
            d[a] = m.distance[a];
    }
    // The path length is that of the linear axes; a move of the turning axis alone goes by
    // its own.
    double length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    const bool linear = length > 0;
    if (!linear)
        length = std::fabs(d[3]);
    if (!(length > 0))
        return 0;
    double speed = std::numeric_limits<double>::infinity();
    double acceleration = std::numeric_limits<double>::infinity();
    for (std::size_t a = 0; a < 4; ++a) {
        const double share = std::fabs(d[a]) / length;
        if (share == 0)
            continue;
        const auto s = static_cast<std::size_t>(slot_[a]);
        speed = std::min(speed, limits_.max_velocity[s] / share);
        acceleration = std::min(acceleration, limits_.max_acceleration[s] / share);
    }
    if (linear && limits_.max_linear_velocity > 0)
        speed = std::min(speed, limits_.max_linear_velocity);
    if (m.kind == MoveKind::feed && pm.feed_per_minute > 0)
        speed = std::min(speed, pm.feed_per_minute / 60);
    // Trapezoid: up to speed over speed^2 / (2 a), the same down; triangle when that is longer
    // than the move.
    if (length >= speed * speed / acceleration)
        return length / speed + speed / acceleration;
    return 2 * std::sqrt(length / acceleration);
}

std::string format_hms(double seconds) {
    const long long total = std::llround(std::max(0.0, seconds));
    const long long h = total / 3600;
    const long long m = total / 60 % 60;
    const long long s = total % 60;
    std::string text = std::to_string(h) + ":";
    text += (m < 10 ? "0" : "") + std::to_string(m) + ":";
    text += (s < 10 ? "0" : "") + std::to_string(s);
    return text;
}

std::string time_model_text(const MachineLimits& limits) {
    return "exact stop: every move accelerates from rest and stops (trapezoidal or triangular "
           "speed), feed moves at most at their F word, dwells added, G28 returns as rapid "
           "moves; an upper bound of what a blending controller needs; limits from " +
           limits.source + ": " + describe_limits(limits);
}

}  // namespace ostrivane
