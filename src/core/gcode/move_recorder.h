#pragma once
#include <vector>

#include "core/gcode/move.h"

namespace ostrivane {

// Keeps every move it is given, in order: for tests and for tools that read a job as data.
class MoveRecorder final : public MoveSink {
  public:
    void move(const Move& move) override { moves_.push_back(move); }
    const std::vector<Move>& moves() const { return moves_; }

  private:
    std::vector<Move> moves_;
};

// Hands every move to two sinks, in order.
class MoveTee final : public MoveSink {
  public:
    MoveTee(MoveSink& first, MoveSink& second) : first_(first), second_(second) {}
    void move(const Move& move) override {
        first_.move(move);
        second_.move(move);
    }

  private:
    MoveSink& first_;
    MoveSink& second_;
};

}  // namespace ostrivane
