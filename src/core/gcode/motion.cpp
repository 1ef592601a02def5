#include "core/gcode/motion.h"

#include <cmath>
#include <string>

#include "core/gcode/axis_mapping.h"
#include "core/text/error.h"
#include "core/text/number_format.h"

namespace ostrivane {
namespace {

std::string motion_word(bool fast_move) {
    return fast_move ? "G00 " : "G01 ";
}

// A feed field's value in mm/min (settings are entered in mm/s). A value so large that it
// overflows would be written as a word no controller reads, so it stops the job instead.
double feed_per_minute(const FieldSource& fields, std::string_view field) {
    const double per_minute = validate_float(fields, field) * 60;
    if (!std::isfinite(per_minute)) {
        throw Error(fields.text(field) + " inside " + fields.label(field) +
                    " is too large for a feedrate.");
    }
    return per_minute;
}

std::string feed_word(double per_minute) {
    return "F" + format_general(per_minute);
}

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

std::string GcodeMotion::move_feed_word(bool fast_move) const {
    const double normal = feed_per_minute(fields_, "normfeed");
    const double fine = feed_per_minute(fields_, "finemillfeed");
    return feed_word(fast_move ? normal : fine);
}

std::string GcodeMotion::homing_feed_word(bool fast_move) const {
    const double homing = feed_per_minute(fields_, "homefeed");
    const double normal = feed_per_minute(fields_, "normfeed");
    return feed_word(fast_move ? homing : normal);
}

std::string GcodeMotion::distance(double number_of_mm, const char* invert_box) const {
    // An overflowed or undefined distance would reach the file as "inf" or "nan".
    if (!std::isfinite(number_of_mm)) {
        throw Error(std::string("Cannot write a move of ") +
                    (std::isnan(number_of_mm) ? "undefined" : "infinite") + " length for the " +
                    std::string(1, invert_box[6]) + " axis.");
    }
    return format_distance(fields_.checked(invert_box) ? -number_of_mm : number_of_mm);
}

void GcodeMotion::home(bool fast_move, std::string (*letter)(const FieldSource&)) {
    out_.write_line(motion_word(fast_move) + homing_feed_word(fast_move));
    out_.write_line("G28 " + letter(fields_) + "0.0");
}

void GcodeMotion::steps(char stepper, double number_of_mm, bool fast_move) {
    const std::string g = motion_word(fast_move);
    switch (upper(stepper)) {
        case 'X': {
            const std::string v = distance(number_of_mm, "InvertX");
            const std::string mx = get_mapped_X(fields_);
            const std::string my = get_mapped_Y(fields_);
            const std::string mz = get_mapped_Z(fields_);
            const std::string f = move_feed_word(fast_move);
            out_.write_line(g + mx + v + " " + my + "0.0 " + mz + "0.0 " + f);
            return;
        }
        case 'Y': {
            const std::string v = distance(number_of_mm, "InvertY");
            const std::string mx = get_mapped_X(fields_);
            const std::string my = get_mapped_Y(fields_);
            const std::string mz = get_mapped_Z(fields_);
            const std::string f = move_feed_word(fast_move);
            out_.write_line(g + mx + "0.0 " + my + v + " " + mz + "0.0 " + f);
            return;
        }
        case 'Z': {
            const std::string v = distance(number_of_mm, "InvertZ");
            const std::string mx = get_mapped_X(fields_);
            const std::string my = get_mapped_Y(fields_);
            const std::string mz = get_mapped_Z(fields_);
            const std::string f = move_feed_word(fast_move);
            out_.write_line(g + mx + "0.0 " + my + "0.0 " + mz + v + " " + f);
            return;
        }
        case 'W': {
            const std::string v = distance(number_of_mm, "InvertW");
            const std::string mx = get_mapped_X(fields_);
            const std::string my = get_mapped_Y(fields_);
            const std::string mz = get_mapped_Z(fields_);
            const std::string mw = get_mapped_W(fields_);
            const std::string f = move_feed_word(fast_move);
            out_.write_line(g + mx + "0.0 " + my + "0.0 " + mz + "0.0 " + mw + v + " " + f);
            return;
        }
        case 'A':
            home(fast_move, get_mapped_X);
            return;
        case 'B':
            home(fast_move, get_mapped_Y);
            return;
        case 'C':
            home(fast_move, get_mapped_Z);
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
    const std::string vx = distance(number_of_mm[0], "InvertX");
    const std::string vy = distance(number_of_mm[1], "InvertY");
    const std::string vz = distance(number_of_mm[2], "InvertZ");
    const std::string mx = get_mapped_X(fields_);
    const std::string my = get_mapped_Y(fields_);
    const std::string mz = get_mapped_Z(fields_);
    const std::string f = move_feed_word(fast_move);
    out_.write_line(motion_word(fast_move) + mx + vx + " " + my + vy + " " + mz + vz + " " + f);
}

}  // namespace ostrivane
