#include "core/check/machine_limits.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/text/ascii_text.h"
#include "core/text/error.h"
#include "core/text/number_format.h"
#include "core/text/number_parse.h"

namespace ostrivane {
namespace {

constexpr std::string_view kLetters = "XYZW";

int letter_slot(char letter) {
    const auto at = kLetters.find(ascii_upper(letter));
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

std::string upper(std::string_view text) {
    std::string s(text);
    for (char& c : s)
        c = ascii_upper(c);
    return s;
}

struct AxisFigures {
    std::optional<double> velocity;
    std::optional<double> acceleration;
};

void take_lower(std::optional<double>& into, double value) {
    into = into ? std::min(*into, value) : value;
}

}  // namespace

MachineLimits default_machine_limits() {
    MachineLimits l;
    l.max_velocity.fill(kDefaultMaxVelocity);
    l.max_acceleration.fill(kDefaultMaxAcceleration);
    l.source = "default limits (no machine file)";
    return l;
}

MachineLimits read_linuxcnc_limits(std::string_view ini, std::string source) {
    std::array<AxisFigures, 4> axes;
    std::array<AxisFigures, 16> joints;
    std::optional<double> linear;
    std::string coordinates;
    std::string kins_coordinates;
    double unit = 1;
    std::string section;
    std::size_t number = 0;
    for (std::string_view raw : split_lines(ini)) {
        ++number;
        std::string_view line = trim(raw);
        if (const auto hash = line.find('#'); hash != std::string_view::npos)
            line = trim(line.substr(0, hash));
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            const auto close = line.find(']');
            section = upper(line.substr(1, close == std::string_view::npos ? 0 : close - 1));
            continue;
        }
        const auto eq = line.find('=');
        if (eq == std::string_view::npos)
            continue;
        const std::string key = upper(trim(line.substr(0, eq)));
        const std::string_view value = trim(line.substr(eq + 1));
        const auto figure = [&] {
            const auto v = parse_float(value);
            if (!v || !(*v > 0) || !std::isfinite(*v)) {
                throw Error("Line " + std::to_string(number) + " of " + source + ": " + key +
                            " must be a positive number, not " + std::string(value));
            }
            return *v;
        };
        if (section == "TRAJ") {
            if (key == "MAX_LINEAR_VELOCITY" || key == "MAX_VELOCITY")
                take_lower(linear, figure());
            else if (key == "COORDINATES")
                coordinates = upper(value);
            else if (key == "LINEAR_UNITS")
                unit = upper(value).rfind("IN", 0) == 0 ? 25.4 : 1;
        } else if (section == "KINS" && key == "KINEMATICS") {
            if (const auto at = upper(value).find("COORDINATES="); at != std::string::npos)
                kins_coordinates = upper(value).substr(at + 12);
        }
        AxisFigures* target = nullptr;
        if (section.rfind("AXIS_", 0) == 0 && section.size() == 6 && letter_slot(section[5]) >= 0)
            target = &axes[static_cast<std::size_t>(letter_slot(section[5]))];
        if (section.rfind("JOINT_", 0) == 0) {
            const auto n = parse_int(std::string_view(section).substr(6));
            if (n && *n >= 0 && *n < static_cast<int>(joints.size()))
                target = &joints[static_cast<std::size_t>(*n)];
        }
        if (target != nullptr && key == "MAX_VELOCITY")
            take_lower(target->velocity, figure());
        if (target != nullptr && key == "MAX_ACCELERATION")
            take_lower(target->acceleration, figure());
    }
    // Joint n drives the n-th letter of the coordinates (blanks left out).
    std::string order;
    for (const char c : coordinates.empty() ? kins_coordinates : coordinates) {
        if (c != ' ' && c != '\t')
            order += c;
    }
    if (order.empty())
        order = "XYZ";
    for (std::size_t j = 0; j < order.size() && j < joints.size(); ++j) {
        const int slot = letter_slot(order[j]);
        if (slot < 0)
            continue;
        AxisFigures& a = axes[static_cast<std::size_t>(slot)];
        if (joints[j].velocity)
            take_lower(a.velocity, *joints[j].velocity);
        if (joints[j].acceleration)
            take_lower(a.acceleration, *joints[j].acceleration);
    }
    MachineLimits l;
    l.source = std::move(source);
    for (std::size_t a = 0; a < 4; ++a) {
        l.max_velocity[a] = axes[a].velocity ? *axes[a].velocity * unit : kDefaultMaxVelocity;
        l.max_acceleration[a] =
            axes[a].acceleration ? *axes[a].acceleration * unit : kDefaultMaxAcceleration;
    }
    l.max_linear_velocity = linear ? *linear * unit : 0;
    return l;
}

std::string describe_limits(const MachineLimits& limits) {
    std::string text;
    for (std::size_t a = 0; a < 4; ++a) {
        if (!text.empty())
            text += ", ";
        text += std::string(1, kLetters[a]) + " " + format_general(limits.max_velocity[a]) +
                " mm/s " + format_general(limits.max_acceleration[a]) + " mm/s^2";
    }
    if (limits.max_linear_velocity > 0)
        text += ", path " + format_general(limits.max_linear_velocity) + " mm/s";
    return text;
}

}  // namespace ostrivane
