#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "core/gcode/move.h"

namespace ostrivane {

// The saw head as a job drives it. The job names where it wants the head; the stream turns
// that into the relative moves of the program, keeps where the head stands (in the job's own
// frame) and tags every move with the pass, its run and the saw position it serves.
class MoveStream {
  public:
    explicit MoveStream(MoveSink& out) : out_(out) {}

    // From now on moves belong to this pass and run (runs count from 1) ...
    void begin(PassKind pass, std::uint16_t run = 0) {
        pass_ = pass;
        run_ = run;
    }
    // ... and to the saw position with its left edge at x.
    void at_saw(double x) { saw_x_ = x; }

    // One move as it is, tagged.
    void send(Move move);
    // An axis to `at`; the head then stands exactly there.
    void to(Axis axis, double at, bool fast);
    // A move of one axis by a distance, the head's position moving with it.
    void by(Axis axis, double mm, bool fast);
    // X, Y and Z together, Z staying: X by the step that reaches `x` (the head keeps the sum of
    // its steps, as the controller does) and Y to `y` exactly.
    void xy_to(double x, double y, bool fast);
    void home(Axis axis, bool fast);
    // The saw cuts into the work: Y out by `mm` at once.
    void plunge(double mm);
    void dwell(double milliseconds) { send(Move::dwell_for(milliseconds)); }
    // The head's x counts from where it stands now (the start of the next copy of a profile).
    void restart_x() { position_[0] = 0; }

    double x() const { return position_[0]; }
    // How many moves went out: none means the job has nothing to cut.
    std::size_t moves_sent() const { return sent_; }
    double y() const { return position_[1]; }

  private:
    // Tags the move and sends it.
    void emit(Move& move);

    MoveSink& out_;
    PassKind pass_ = PassKind::frame;
    std::uint16_t run_ = 0;
    double saw_x_ = Move{}.saw_x;
    std::array<double, 4> position_{};
    std::size_t sent_ = 0;
};

}  // namespace ostrivane
