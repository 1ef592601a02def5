#include "core/check/machine_limits.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/text/ascii_text.h"
#include "core/text/error.h"
#include "core/text/file_io.h"
#include "core/text/json_text.h"
#include "core/text/number_format.h"
#include "core/text/number_parse.h"

namespace ostrivane {
namespace {

// How much of a line of the machine file a message quotes.
constexpr std::size_t kQuoted = 60;
// The linear letters, whose figures LINEAR_UNITS converts.
constexpr std::string_view kLinearLetters = "XYZUVW";

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

// Reads one machine file line by line, keeping what the limits need.
class LimitsReader {
  public:
    explicit LimitsReader(std::string source) : source_(std::move(source)) {}

    void read_line(std::string_view raw) {
        ++number_;
        std::string_view line = trim(raw);
        if (line.size() >= 8 && upper(line.substr(0, 8)) == "#INCLUDE")
            refuse("includes another file, which this program does not follow", line);
        if (const auto hash = line.find('#'); hash != std::string_view::npos)
            line = trim(line.substr(0, hash));
        if (line.empty() || line.front() == ';')
            return;
        if (line.front() == '[') {
            const auto close = line.find(']');
            if (close == std::string_view::npos)
                refuse("a section header without its \"]\"", line);
            section_ = upper(line.substr(1, close - 1));
            return;
        }
        const auto eq = line.find('=');
        if (eq == std::string_view::npos)
            return;
        key_ = upper(trim(line.substr(0, eq)));
        value_ = trim(line.substr(eq + 1));
        take();
    }

    MachineLimits limits() const;

  private:
    [[noreturn]] void refuse(std::string_view what, std::string_view text) const {
        throw Error("Line " + std::to_string(number_) + " of " + source_ + " " + std::string(what) +
                    ": " + printable_excerpt(text, kQuoted));
    }

    double figure(double least = kLeastMachineFigure) const {
        const auto v = parse_float(value_);
        if (!v || !std::isfinite(*v) || !(*v >= least && *v <= kMostMachineFigure)) {
            throw Error("Line " + std::to_string(number_) + " of " + source_ + ": " +
                        printable_excerpt(key_, kQuoted) + " must be a number from " +
                        format_general(least) + " to " + format_general(kMostMachineFigure) +
                        ", not " + printable_excerpt(value_, kQuoted));
        }
        return *v;
    }

    void take() {
        if (section_ == "TRAJ") {
            if (key_ == "MAX_LINEAR_VELOCITY" || key_ == "MAX_VELOCITY")
                take_lower(linear_, figure());
            else if (key_ == "COORDINATES")
                coordinates_ = upper(value_);
            else if (key_ == "LINEAR_UNITS")
                unit_ = upper(value_).rfind("IN", 0) == 0 ? 25.4 : 1;
        } else if (section_ == "KINS" && key_ == "KINEMATICS") {
            if (const auto at = upper(value_).find("COORDINATES="); at != std::string::npos)
                kins_coordinates_ = upper(value_).substr(at + 12);
        } else if (section_ == "EMCMOT" && key_ == "SERVO_PERIOD") {
            servo_ns_ = figure(1);  // nanoseconds
        }
        AxisFigures* target = nullptr;
        if (section_.size() == 6 && section_.rfind("AXIS_", 0) == 0 &&
            machine_axis_of(section_[5]) < kMachineAxes)
            target = &axes_[machine_axis_of(section_[5])];
        if (section_.rfind("JOINT_", 0) == 0) {
            const auto n = parse_int(std::string_view(section_).substr(6));
            if (n && *n >= 0 && *n < static_cast<int>(joints_.size()))
                target = &joints_[static_cast<std::size_t>(*n)];
        }
        if (target != nullptr && key_ == "MAX_VELOCITY")
            take_lower(target->velocity, figure());
        if (target != nullptr && key_ == "MAX_ACCELERATION")
            take_lower(target->acceleration, figure());
    }

    std::string source_;
    std::size_t number_ = 0;
    std::string section_;
    std::string key_;
    std::string_view value_;
    std::array<AxisFigures, kMachineAxes> axes_;
    std::array<AxisFigures, 16> joints_;
    std::optional<double> linear_;
    std::optional<double> servo_ns_;
    std::string coordinates_;
    std::string kins_coordinates_;
    double unit_ = 1;
};

MachineLimits LimitsReader::limits() const {
    std::array<AxisFigures, kMachineAxes> axes = axes_;
    // Joint n drives the n-th letter of the coordinates (blanks left out).
    std::string order;
    for (const char c : coordinates_.empty() ? kins_coordinates_ : coordinates_) {
        if (c != ' ' && c != '\t')
            order += c;
    }
    if (order.empty())
        order = "XYZ";
    for (std::size_t j = 0; j < order.size() && j < joints_.size(); ++j) {
        const std::size_t slot = machine_axis_of(order[j]);
        if (slot == kMachineAxes)
            continue;
        if (joints_[j].velocity)
            take_lower(axes[slot].velocity, *joints_[j].velocity);
        if (joints_[j].acceleration)
            take_lower(axes[slot].acceleration, *joints_[j].acceleration);
    }
    MachineLimits l;
    l.source = source_;
    l.defaults = false;
    for (std::size_t a = 0; a < kMachineAxes; ++a) {
        const bool linear = kLinearLetters.find(kMachineLetters[a]) != std::string_view::npos;
        const double unit = linear ? unit_ : 1;
        l.max_velocity[a] = axes[a].velocity ? *axes[a].velocity * unit : kDefaultMaxVelocity;
        l.max_acceleration[a] =
            axes[a].acceleration ? *axes[a].acceleration * unit : kDefaultMaxAcceleration;
    }
    l.max_linear_velocity = linear_ ? *linear_ * unit_ : 0;
    if (servo_ns_)
        l.servo_period_s = *servo_ns_ * 1e-9;
    return l;
}

}  // namespace

std::size_t machine_axis_of(char letter) {
    const auto at = kMachineLetters.find(ascii_upper(letter));
    return at == std::string_view::npos ? kMachineAxes : at;
}

double MachineLimits::velocity_of(char letter) const {
    const std::size_t a = machine_axis_of(letter);
    return a < kMachineAxes ? max_velocity[a] : kDefaultMaxVelocity;
}

double MachineLimits::acceleration_of(char letter) const {
    const std::size_t a = machine_axis_of(letter);
    return a < kMachineAxes ? max_acceleration[a] : kDefaultMaxAcceleration;
}

MachineLimits default_machine_limits() {
    MachineLimits l;
    l.max_velocity.fill(kDefaultMaxVelocity);
    l.max_acceleration.fill(kDefaultMaxAcceleration);
    l.source = "default limits (no machine file)";
    return l;
}

MachineLimits read_linuxcnc_limits(std::string_view ini, std::string source) {
    LimitsReader reader(std::move(source));
    for_each_line(ini, [&](std::string_view line) { reader.read_line(line); });
    return reader.limits();
}

MachineLimits machine_limits_of_file(const std::filesystem::path& file) {
    return read_linuxcnc_limits(
        read_file_limited(file, kMostMachineFileBytes, "a machine configuration"),
        utf8_text(file.filename().string()));
}

std::string describe_limits(const MachineLimits& limits, std::string_view letters) {
    std::string text;
    std::string seen;
    for (const char letter : letters) {
        const std::size_t a = machine_axis_of(letter);
        if (a == kMachineAxes || seen.find(kMachineLetters[a]) != std::string::npos)
            continue;
        seen += kMachineLetters[a];
        const bool linear = kLinearLetters.find(kMachineLetters[a]) != std::string_view::npos;
        const std::string unit = linear ? "mm" : "deg";
        if (!text.empty())
            text += ", ";
        text += std::string(1, kMachineLetters[a]) + " " + format_general(limits.max_velocity[a]) +
                " " + unit + "/s " + format_general(limits.max_acceleration[a]) + " " + unit +
                "/s^2";
    }
    if (limits.max_linear_velocity > 0)
        text += ", path " + format_general(limits.max_linear_velocity) + " mm/s";
    return text;
}

}  // namespace ostrivane
