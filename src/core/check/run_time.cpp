#include "core/check/run_time.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

namespace ostrivane {
namespace {

// The share of the acceleration a blend arc may use across the path, beside the half along it.
const double kNormalShare = std::sqrt(1 - 0.5 * 0.5);
// What exact stop leaves of the acceleration of a move that has a neighbour of its own type.
constexpr double kExactStopShare = 0.9;
// What a move that ends before a dwell or the end keeps of its acceleration.
constexpr double kUnmadeBlendShare = 0.5;
// Turning back, in radians: within this the corner is taken as a reversal.
constexpr double kTurnsBack = 1e-3;
// The share of an axis's acceleration that a kink passed at full speed within one servo cycle
// may take for the moves to run on as one.
constexpr double kKinkShare = 0.1;
// How many blended moves are settled at once; twice as many are held.
constexpr std::size_t kWindow = 256;

// A move of `length` with top speed v and acceleration a, entered at vi and left at vo.
double segment_time(double length, double v, double a, double vi, double vo) {
    const double need = (v * v - vi * vi) / (2 * a) + (v * v - vo * vo) / (2 * a);
    if (length >= need)
        return (v - vi) / a + (v - vo) / a + (length - need) / v;
    const double peak = std::sqrt(
        std::max((2 * a * length + vi * vi + vo * vo) / 2, std::max(vi, vo) * std::max(vi, vo)));
    return (peak - vi) / a + (peak - vo) / a;
}

bool is_motion(MoveKind kind) {
    return kind == MoveKind::rapid || kind == MoveKind::feed || kind == MoveKind::home ||
           kind == MoveKind::home_all;
}

std::string mode_words(PathMode mode) {
    switch (mode) {
        case PathMode::exact_stop:
            return "exact stop (G61)";
        case PathMode::blend:
            return "blending (G64)";
        default:
            return "the start-up path mode (blending within 0.0254 mm)";
    }
}

}  // namespace

RunTimeModel::RunTimeModel(const MachineLimits& limits) : limits_(limits) {}

double RunTimeModel::acceleration_of(const Segment& s) const {
    if (s.path == PathMode::exact_stop)
        return s.acceleration * (s.joined_before || s.joined_after ? kExactStopShare : 1.0);
    return s.acceleration * (s.stop_after ? kUnmadeBlendShare : 1.0);
}

void RunTimeModel::blend(Segment& a, Segment& b) const {
    const double goal = std::min(a.speed, b.speed);
    double kink = 0;
    for (std::size_t k = 0; k < 4; ++k) {
        const double change = std::fabs(b.unit[k] - a.unit[k]);
        if (change > 0)
            kink = std::max(kink, goal / limits_.servo_period_s * change /
                                      std::min(a.axis_acceleration[k], b.axis_acceleration[k]));
    }
    if (kink < kKinkShare) {
        a.corner_speed = goal;
        return;
    }
    if (a.path == PathMode::exact_stop)
        return;
    double cosine = 0;
    for (std::size_t k = 0; k < 4; ++k)
        cosine += a.unit[k] * b.unit[k];
    const double turn = std::acos(std::clamp(cosine, -1.0, 1.0));
    if (turn > std::numbers::pi - kTurnsBack)
        return;
    const double half = (std::numbers::pi - turn) / 2;  // half the inner angle
    // The arc lies in the plane of both moves: every axis either moves bounds it.
    double plane = std::numeric_limits<double>::infinity();
    for (std::size_t k = 0; k < 4; ++k) {
        if (a.unit[k] != 0 || b.unit[k] != 0)
            plane = std::min({plane, a.axis_acceleration[k], b.axis_acceleration[k]});
    }
    const double normal = kNormalShare * plane;
    double radius = std::min({a.length, b.length}) / 2 * std::tan(half);
    const double tolerance = a.path == PathMode::startup ? kStartupBlendTolerance : a.tolerance;
    if (tolerance > 0)
        radius = std::min(radius, tolerance / (1 / std::sin(half) - 1));
    radius = std::min(radius, goal * goal / normal);
    a.corner_speed = std::min(goal, std::sqrt(normal * radius));
    a.arc_length = radius * turn;
    a.trim_after = radius * std::tan(turn / 2);
    b.trim_before = a.trim_after;
}

void RunTimeModel::settle(std::size_t count, bool stop_at_end) {
    const std::size_t n = pending_.size();
    count = std::min(count, n);
    // Junction speeds: [0] into the first pending move, [n] out of the last.
    // The scratch lists keep their memory from one settling to the next.
    std::vector<double>& v = speeds_;
    std::vector<double>& acc = accelerations_;
    std::vector<double>& length = lengths_;
    v.assign(n + 1, 0.0);
    acc.assign(n, 0.0);
    length.assign(n, 0.0);
    v[0] = entry_speed_;
    for (std::size_t i = 0; i < n; ++i) {
        const Segment& s = pending_[i];
        acc[i] = acceleration_of(s);
        length[i] = std::max(0.0, s.length - s.trim_before - s.trim_after);
        if (i + 1 < n)
            v[i + 1] = s.corner_speed;
    }
    v[n] = 0;
    // A window that is not a stop ends at rest too, which only slows its last moves.
    // What each move can reach from the one before and still lose before the next.
    for (std::size_t i = 0; i < n; ++i)
        v[i + 1] = std::min(v[i + 1], std::sqrt(v[i] * v[i] + 2 * acc[i] * length[i]));
    for (std::size_t i = n; i-- > 1;)
        v[i] = std::min(v[i], std::sqrt(v[i + 1] * v[i + 1] + 2 * acc[i] * length[i]));
    for (std::size_t i = 0; i < count; ++i) {
        const Segment& s = pending_[i];
        settled_ += segment_time(length[i], s.speed, acc[i], std::min(v[i], s.speed),
                                 std::min(v[i + 1], s.speed));
        if (i + 1 < n && s.arc_length > 0 && v[i + 1] > 0)
            settled_ += s.arc_length / v[i + 1];
        provisional_ -= s.alone;
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(count));
    entry_speed_ = count < n ? v[count] : 0;
    if (count == n && stop_at_end)
        settled_ += kCyclesAtStop * limits_.servo_period_s;
    if (pending_.empty())
        provisional_ = 0;  // no rounding left over
}

void RunTimeModel::stop_here() {
    if (pending_.empty())
        return;
    pending_.back().stop_after = true;
    settle(pending_.size(), true);
}

void RunTimeModel::add(const ProgramMove& pm, const std::array<char, 4>& letters) {
    const Move& m = pm.move;
    if (m.kind == MoveKind::dwell || m.kind == MoveKind::end) {
        stop_here();
        if (m.kind == MoveKind::dwell)
            settled_ += m.milliseconds / 1000 + kCyclesAtDwell * limits_.servo_period_s;
        return;
    }
    if (!is_motion(m.kind))
        return;
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
        return;
    const bool feed = m.kind == MoveKind::feed;
    if (feed && !(pm.feed_per_minute > 0)) {
        ++moves_without_feed_;
        return;
    }
    Segment s;
    s.length = length;
    s.rapid = !feed;
    s.path = pm.path;
    s.tolerance = pm.tolerance;
    s.speed = std::numeric_limits<double>::infinity();
    s.acceleration = std::numeric_limits<double>::infinity();
    for (std::size_t a = 0; a < 4; ++a) {
        const double share = std::fabs(d[a]) / length;
        s.unit[a] = d[a] / length;
        s.axis_acceleration[a] = limits_.acceleration_of(letters[a]);
        if (share == 0)
            continue;
        s.speed = std::min(s.speed, limits_.velocity_of(letters[a]) / share);
        s.acceleration = std::min(s.acceleration, limits_.acceleration_of(letters[a]) / share);
    }
    if (linear && limits_.max_linear_velocity > 0)
        s.speed = std::min(s.speed, limits_.max_linear_velocity);
    if (feed)
        s.speed = std::min(s.speed, pm.feed_per_minute / 60);
    modes_seen_ |= 1u << static_cast<int>(s.path);
    started_ = true;
    s.alone = segment_time(s.length, s.speed, s.acceleration, 0, 0);
    if (!pending_.empty()) {
        Segment& back = pending_.back();
        const bool joined = back.rapid == s.rapid;
        back.joined_after = joined;
        s.joined_before = joined;
        if (joined)
            blend(back, s);
        if (back.corner_speed == 0)
            settle(pending_.size(), true);
    }
    provisional_ += s.alone;
    pending_.push_back(s);
    if (pending_.size() >= 2 * kWindow)
        settle(kWindow, false);
}

void RunTimeModel::finish() {
    if (finished_)
        return;
    stop_here();
    finished_ = true;
    if (started_)
        settled_ += kStartAndEndSeconds;
}

namespace {

std::string path_mode_label(const RunTimeModel& model) {
    int modes = 0;
    PathMode only = PathMode::startup;
    for (const PathMode m : {PathMode::startup, PathMode::exact_stop, PathMode::blend}) {
        if (model.ran_in(m)) {
            ++modes;
            only = m;
        }
    }
    std::string label = "LinuxCNC planner model, ";
    if (modes > 1)
        return label + "path modes as the program sets them";
    switch (only) {
        case PathMode::exact_stop:
            return label + "exact stop G61";
        case PathMode::blend:
            return label + "blending G64";
        default:
            return label + "start-up path mode";
    }
}

}  // namespace

std::string time_model_label(const RunTimeModel& model, const MachineLimits& limits) {
    return path_mode_label(model) +
           (limits.defaults ? std::string("; default limits") : "; limits of " + limits.source);
}

std::string time_model_text(const RunTimeModel& model, const MachineLimits& limits,
                            const std::array<char, 4>& letters) {
    std::string modes;
    for (const PathMode m : {PathMode::startup, PathMode::exact_stop, PathMode::blend}) {
        if (model.ran_in(m))
            modes += (modes.empty() ? "" : ", then ") + mode_words(m);
    }
    if (modes.empty())
        modes = mode_words(PathMode::startup);
    std::string text = "modelled on LinuxCNC 2.9's trajectory planner, in " + modes +
                       "; feed moves at most at their F word, rapid moves and G28 returns at "
                       "what the axes allow, dwells added";
    if (model.ran_in(PathMode::startup))
        text += "; a controller left in G61 by an earlier program takes a little longer";
    return text + "; limits from " + limits.source + ": " +
           describe_limits(limits, std::string_view(letters.data(), letters.size()));
}

}  // namespace ostrivane
