#include "core/gcode/move_stream.h"

namespace ostrivane {

// Each move is built once, where it is tagged and read from: a job sends millions, and a copy
// of a move just built would wait for its fields to be stored before reading them back.
void MoveStream::emit(Move& move) {
    move.pass = pass_;
    move.run = run_;
    move.saw_x = saw_x_;
    out_.move(move);
    ++sent_;
}

void MoveStream::send(Move move) {
    emit(move);
}

void MoveStream::to(Axis axis, double at, bool fast) {
    double& now = position_[static_cast<std::size_t>(axis)];
    Move move = Move::along(axis, at - now, fast);
    emit(move);
    now = at;
}

void MoveStream::plunge(double mm) {
    Move move = Move::along(Axis::Y, mm, true);
    move.plunge = true;
    emit(move);
    position_[1] += mm;
}

void MoveStream::by(Axis axis, double mm, bool fast) {
    Move move = Move::along(axis, mm, fast);
    emit(move);
    position_[static_cast<std::size_t>(axis)] += mm;
}

void MoveStream::xy_to(double x, double y, bool fast) {
    const double dx = x - position_[0];
    Move move = Move::combined({dx, y - position_[1], 0}, fast);
    emit(move);
    position_[0] += dx;
    position_[1] = y;
}

void MoveStream::home(Axis axis, bool fast) {
    Move move = Move::home_axis(axis, fast);
    emit(move);
    position_[static_cast<std::size_t>(axis)] = 0;
}

}  // namespace ostrivane
