#include "core/gcode/gcode_writer.h"

#include <bit>
#include <cmath>
#include <cstdint>

#include "core/text/error.h"
#include "core/text/number_format.h"

namespace ostrivane {
namespace {

const char* motion_word(bool fast_move) {
    return fast_move ? "G00 " : "G01 ";
}

std::string feed_word(double per_minute) {
    return "F" + format_general(per_minute);
}

void check_finite(double mm, Axis axis) {
    // An overflowed or undefined distance would reach the file as "inf" or "nan".
    if (!std::isfinite(mm)) {
        throw Error(std::string("Cannot write a move of ") +
                    (std::isnan(mm) ? "undefined" : "infinite") + " length for the " +
                    axis_name(axis) + " axis.");
    }
}

// Bit for bit: 0.0 and -0.0 are different distances here. Compared a distance at a time, the
// way a move has just been stored, so that reading them back does not wait.
// The kind and the axes of a move as one number, read a field at a time for the same reason
// (compared together, they would be read as one word that was stored as two bytes).
unsigned move_key(const Move& move) {
    static_assert(static_cast<unsigned>(MoveKind::end) < 8, "a kind takes three bits");
    return static_cast<unsigned>(move.axes) << 3 | static_cast<unsigned>(move.kind);
}

bool same_distances(const std::array<double, 4>& a, const std::array<double, 4>& b) {
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::bit_cast<std::uint64_t>(a[i]) != std::bit_cast<std::uint64_t>(b[i]))
            return false;
    }
    return true;
}

}  // namespace

GcodeWriter::GcodeWriter(const MachineSettings& settings, LineSink& out)
    : settings_(settings),
      out_(out),
      rapid_feed_(feed_word(settings.feed(Feed::normal))),
      feed_feed_(feed_word(settings.feed(Feed::fine_milling))),
      home_rapid_feed_(feed_word(settings.feed(Feed::homing))),
      home_feed_feed_(feed_word(settings.feed(Feed::normal))) {
    // Every move line names the three linear axes.
    for (const Axis axis : {Axis::X, Axis::Y, Axis::Z})
        settings_.letter_of(axis);
}

void GcodeWriter::move(const Move& move) {
    switch (move.kind) {
        case MoveKind::rapid:
        case MoveKind::feed:
            linear(move);
            return;
        case MoveKind::home:
            home(move);
            return;
        case MoveKind::home_all:
            out_.write_line("G28");
            position_ = {};
            return;
        case MoveKind::dwell:
            dwell(move.milliseconds);
            return;
        case MoveKind::end:
            out_.write_line("M2");
            return;
    }
}

const std::string* GcodeWriter::made_line(const Move& move) const {
    const unsigned key = move_key(move);
    for (const MadeLine& m : made_) {
        if (m.key == key && same_distances(m.distance, move.distance))
            return &m.line;
    }
    return nullptr;
}

const std::string& GcodeWriter::remember(const Move& move) {
    MadeLine& m = made_[next_made_];
    next_made_ = (next_made_ + 1) % made_.size();
    m.key = move_key(move);
    m.distance = move.distance;
    // Swapped, not copied: the old line's storage is where the next line is built.
    m.line.swap(line_);
    return m.line;
}

void GcodeWriter::linear(const Move& move) {
    if (const std::string* line = made_line(move)) {
        out_.write_line(*line);
        advance(move);
        return;
    }
    for (const Axis axis : program_axes) {
        if (move.moves(axis))
            check_finite(move.distance[static_cast<std::size_t>(axis)], axis);
    }
    // The three linear axes always, the turning axis only when it moves.
    const std::size_t axes = move.moves(Axis::W) ? 4 : 3;
    if (axes == 4)
        settings_.letter_of(Axis::W);  // before anything of the line is written
    const bool fast = move.kind == MoveKind::rapid;
    line_.assign(fast ? "G00 " : "G01 ", 4);
    for (std::size_t a = 0; a < axes; ++a) {
        line_ += settings_.letter[a];
        if (move.moves(program_axes[a])) {
            const double mm = move.distance[a];
            append_distance(line_, settings_.inverted[a] ? -mm : mm);
        } else {
            line_.append("0.0", 3);
        }
        line_ += ' ';
    }
    line_ += fast ? rapid_feed_ : feed_feed_;
    out_.write_line(remember(move));
    advance(move);
}

void GcodeWriter::advance(const Move& move) {
    for (std::size_t a = 0; a < position_.size(); ++a) {
        if (move.moves(program_axes[a]))
            position_[a] += move.distance[a];
    }
}

void GcodeWriter::home(const Move& move) {
    Axis axis = Axis::X;
    for (const Axis a : program_axes) {
        if (move.moves(a))
            axis = a;
    }
    const char letter = settings_.letter_of(axis);
    line_ = motion_word(move.fast);
    line_ += move.fast ? home_rapid_feed_ : home_feed_feed_;
    out_.write_line(line_);
    line_ = "G28 ";
    line_ += letter;
    line_ += "0.0";
    out_.write_line(line_);
    position_[static_cast<std::size_t>(axis)] = 0;
}

void GcodeWriter::dwell(double milliseconds) {
    // The delay is given in milliseconds; the dwell word is in seconds, two decimals, rounded
    // from the exact binary value: a true half goes to the even neighbour (125 ms gives P0.12),
    // 5 ms is a little above 0.005 s and gives P0.01.
    const double seconds = milliseconds / 1000;
    if (seconds > 0)
        out_.write_line("G4 P" + format_f(seconds));
}

void GcodeWriter::steps(char stepper, double number_of_mm, bool fast_move) {
    if (const auto m = move_of_letter(stepper, number_of_mm, fast_move))
        move(*m);
}

void GcodeWriter::steps_combined(const std::array<double, 3>& number_of_mm, bool fast_move) {
    move(Move::combined(number_of_mm, fast_move));
}

}  // namespace ostrivane
