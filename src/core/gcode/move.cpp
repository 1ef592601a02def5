#include "core/gcode/move.h"

#include <string>

#include "core/text/ascii_text.h"
#include "core/text/error.h"

namespace ostrivane {

Move Move::home_axis(Axis axis, bool fast_move) {
    Move m;
    m.kind = MoveKind::home;
    m.axes = axis_bit(axis);
    m.fast = fast_move;
    return m;
}

Move Move::home_everything() {
    Move m;
    m.kind = MoveKind::home_all;
    return m;
}

Move Move::dwell_for(double ms) {
    Move m;
    m.kind = MoveKind::dwell;
    m.milliseconds = ms;
    return m;
}

Move Move::end_program() {
    Move m;
    m.kind = MoveKind::end;
    return m;
}

std::optional<Move> move_of_letter(char stepper, double number_of_mm, bool fast_move) {
    switch (ascii_upper(stepper)) {
        case 'X':
            return Move::along(Axis::X, number_of_mm, fast_move);
        case 'Y':
            return Move::along(Axis::Y, number_of_mm, fast_move);
        case 'Z':
            return Move::along(Axis::Z, number_of_mm, fast_move);
        case 'W':
            return Move::along(Axis::W, number_of_mm, fast_move);
        case 'A':
            return Move::home_axis(Axis::X, fast_move);
        case 'B':
            return Move::home_axis(Axis::Y, fast_move);
        case 'C':
            return Move::home_axis(Axis::Z, fast_move);
        case 'D':
            return Move::dwell_for(number_of_mm);
        case 'E':
            return Move::end_program();
        case 'Q':
            return std::nullopt;
        case 'R':
            throw Error("Geprobeerd wordt een  actie te herhalen ");
        default:
            throw Error(std::string("Nonexistent motor specified:") + stepper);
    }
}

}  // namespace ostrivane
