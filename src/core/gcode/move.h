#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>

#include "core/gcode/axis_mapping.h"

namespace ostrivane {

// What a machine program does, one typed step at a time. Jobs produce moves; consumers (the
// G-code writer, the simulation picture, a recorder for tests and checks) read them.
enum class MoveKind : std::uint8_t {
    rapid,     // the moved axes by their distances at the normal feed (G00)
    feed,      // the same at the fine-milling feed (G01)
    home,      // one axis to its home; `fast` picks the mode and feed of the line before it
    home_all,  // every axis to the stored home
    dwell,     // a pause of `milliseconds`
    end,       // end of program
};

// Which part of a job a move belongs to.
enum class PassKind : std::uint8_t {
    frame,         // program header and footer
    finger_joint,  // the slots of a finger joint
    rough,
    fast_rough,
    fine,
    recorded,  // the operator's recorded moves at the end of a turning job
    repeat,    // the move to the next copy of the profile
};

// A set of program axes, one bit per Axis.
using AxisSet = std::uint8_t;
constexpr AxisSet axis_bit(Axis axis) {
    return static_cast<AxisSet>(1u << static_cast<unsigned>(axis));
}
inline constexpr AxisSet kLinearAxes = axis_bit(Axis::X) | axis_bit(Axis::Y) | axis_bit(Axis::Z);

// One step of a program. All motion is relative to where the machine stands.
struct Move {
    MoveKind kind = MoveKind::rapid;
    // rapid/feed: the axes that move, each by its entry of `distance` (an axis that is not in
    // the set stays, even when its distance is 0); home: the one axis sent home.
    AxisSet axes = 0;
    std::array<double, 4> distance{};
    double milliseconds = 0;  // dwell
    bool fast = true;         // home: rapid mode (homing feed) or feed mode (normal feed)
    bool plunge = false;      // the saw cuts into the work here (a rough plunge)
    PassKind pass = PassKind::frame;
    std::uint16_t run = 0;  // which run of its pass, from 1; 0 outside the passes
    // The left edge of the saw position the move belongs to, in the job's x; NaN for none.
    double saw_x = std::numeric_limits<double>::quiet_NaN();

    // Defined here, so that a job making millions of moves builds each in place.
    static Move along(Axis axis, double mm, bool fast_move) {
        Move m;
        m.kind = fast_move ? MoveKind::rapid : MoveKind::feed;
        m.axes = axis_bit(axis);
        m.distance[static_cast<std::size_t>(axis)] = mm;
        return m;
    }
    // The three linear axes at once, each written even when it does not move.
    static Move combined(const std::array<double, 3>& mm, bool fast_move) {
        Move m;
        m.kind = fast_move ? MoveKind::rapid : MoveKind::feed;
        m.axes = kLinearAxes;
        m.distance = {mm[0], mm[1], mm[2], 0};
        return m;
    }
    static Move home_axis(Axis axis, bool fast_move);
    static Move home_everything();
    static Move dwell_for(double ms);
    static Move end_program();

    bool moves(Axis axis) const { return (axes & axis_bit(axis)) != 0; }
};

// The classic one-letter commands of the machine, as a move:
//   X, Y, Z, W  a single-axis move of number_of_mm (rapid when fast_move, else feed)
//   A, B, C     send X, Y or Z home (number_of_mm ignored)
//   D           dwell of number_of_mm milliseconds
//   E           end of program
// Case does not matter; 'Q' is no move at all. Throws Error for R and for any other letter.
std::optional<Move> move_of_letter(char stepper, double number_of_mm, bool fast_move);

// Where moves go.
class MoveSink {
  public:
    virtual ~MoveSink() = default;
    virtual void move(const Move& move) = 0;
};

}  // namespace ostrivane
