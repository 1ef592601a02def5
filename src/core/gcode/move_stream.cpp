#include "core/gcode/move_stream.h"

namespace ostrivane {

void MoveStream::send(Move move) {
    move.pass = pass_;
    move.run = run_;
    move.saw_x = saw_x_;
    out_.move(move);
    ++sent_;
}

void MoveStream::to(Axis axis, double at, bool fast) {
    double& now = position_[static_cast<std::size_t>(axis)];
    send(Move::along(axis, at - now, fast));
    now = at;
}

void MoveStream::plunge(double mm) {
    Move move = Move::along(Axis::Y, mm, true);
    move.plunge = true;
    send(move);
    position_[1] += mm;
}

void MoveStream::by(Axis axis, double mm, bool fast) {
    send(Move::along(axis, mm, fast));
    position_[static_cast<std::size_t>(axis)] += mm;
}

void MoveStream::xy_to(double x, double y, bool fast) {
    const double dx = x - position_[0];
    send(Move::combined({dx, y - position_[1], 0}, fast));
    position_[0] += dx;
    position_[1] = y;
}

void MoveStream::home(Axis axis, bool fast) {
    send(Move::home_axis(axis, fast));
    position_[static_cast<std::size_t>(axis)] = 0;
}

}  // namespace ostrivane
