#include "core/gcode/motion.h"

#include <cmath>
#include <string>

#include "core/text/ascii_text.h"
#include "core/text/error.h"
#include "core/text/number_format.h"

namespace ostrivane {
namespace {

const char* motion_word(bool fast_move) {
    return fast_move ? "G00 " : "G01 ";
}

// The axis a move letter names, the axis a homing letter sends home.
constexpr Axis moved_axis(char upper_stepper) {
    switch (upper_stepper) {
        case 'Y':
        case 'B':
            return Axis::Y;
        case 'Z':
        case 'C':
            return Axis::Z;
        case 'W':
            return Axis::W;
        default:
            return Axis::X;
    }
}

}  // namespace

std::string GcodeMotion::distance(double number_of_mm, Axis axis) const {
    // An overflowed or undefined distance would reach the file as "inf" or "nan".
    if (!std::isfinite(number_of_mm)) {
        throw Error(std::string("Cannot write a move of ") +
                    (std::isnan(number_of_mm) ? "undefined" : "infinite") + " length for the " +
                    axis_name(axis) + " axis.");
    }
    return format_distance(settings_.inverted(axis) ? -number_of_mm : number_of_mm);
}

std::string GcodeMotion::feed_word(Feed fast, Feed slow, bool fast_move) const {
    // Both are asked for, in this order, whichever is used.
    const double fast_rate = settings_.feed_per_minute(fast);
    const double slow_rate = settings_.feed_per_minute(slow);
    return "F" + format_general(fast_move ? fast_rate : slow_rate);
}

void GcodeMotion::move(bool fast_move, std::size_t axes, const Distances& distances) {
    std::array<char, program_axes.size()> letters{};
    for (std::size_t a = 0; a < axes; ++a)
        letters[a] = settings_.letter(program_axes[a]);
    const std::string f = feed_word(Feed::normal, Feed::fine_milling, fast_move);
    line_ = motion_word(fast_move);
    for (std::size_t a = 0; a < axes; ++a) {
        line_ += letters[a];
        // An axis that stays is written as the literal "0.0", not as a formatted distance.
        line_ += distances[a].empty() ? std::string_view("0.0") : std::string_view(distances[a]);
        line_ += ' ';
    }
    line_ += f;
    out_.write_line(line_);
}

void GcodeMotion::home(bool fast_move, Axis axis) {
    out_.write_line(motion_word(fast_move) + feed_word(Feed::homing, Feed::normal, fast_move));
    out_.write_line(std::string("G28 ") + settings_.letter(axis) + "0.0");
}

void GcodeMotion::steps(char stepper, double number_of_mm, bool fast_move) {
    const char command = ascii_upper(stepper);
    switch (command) {
        case 'X':
        case 'Y':
        case 'Z':
        case 'W': {
            const Axis axis = moved_axis(command);
            Distances distances;
            distances[static_cast<std::size_t>(axis)] = distance(number_of_mm, axis);
            // The three linear axes always, the turning axis only when it moves.
            move(fast_move, axis == Axis::W ? 4 : 3, distances);
            return;
        }
        case 'A':
        case 'B':
        case 'C':
            home(fast_move, moved_axis(command));
            return;
        case 'D': {
            // The delay is given in milliseconds; the dwell word is in seconds, two decimals,
            // rounded from the exact binary value: a true half goes to the even neighbour
            // (125 ms gives P0.12), 5 ms is a little above 0.005 s and gives P0.01.
            const double seconds = number_of_mm / 1000;
            if (seconds > 0)
                out_.write_line("G4 P" + format_f(seconds));
            return;
        }
        case 'E':
            out_.write_line("M2");
            return;
        case 'Q':
            return;
        case 'R':
            throw Error("Geprobeerd wordt een  actie te herhalen ");
        default:
            throw Error(std::string("Nonexistent motor specified:") + stepper);
    }
}

void GcodeMotion::steps_combined(const std::array<double, 3>& number_of_mm, bool fast_move) {
    Distances distances;
    for (std::size_t a = 0; a < number_of_mm.size(); ++a)
        distances[a] = distance(number_of_mm[a], program_axes[a]);
    move(fast_move, number_of_mm.size(), distances);
}

}  // namespace ostrivane
