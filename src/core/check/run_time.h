#pragma once
#include <array>
#include <cstddef>
#include <deque>
#include <string>
#include <vector>

#include "core/check/machine_limits.h"
#include "core/check/program_reader.h"

namespace ostrivane {

// The deviation LinuxCNC allows a blend in the path mode it starts in (no G61 or G64 yet): its
// traces on our programs fit 0.001 inch.
inline constexpr double kStartupBlendTolerance = 0.0254;

// Servo cycles the controller spends at rest: between a move that stops and the next, and
// beside a dwell (the task waits for the motion to settle and then hands on the next line).
inline constexpr double kCyclesAtStop = 1;
inline constexpr double kCyclesAtDwell = 3;
// From the start of a program to its first move, and from its last move until the controller
// is idle again.
inline constexpr double kStartAndEndSeconds = 0.085;

// How long LinuxCNC 2.9's trajectory planner takes for a program's moves, modelled on what its
// traces show:
// - Every straight move runs a trapezoid (a triangle when too short) at the acceleration the
//   moved axes allow along its direction; its top speed is its F word (feed) or what the axes
//   and the path limit allow (rapid moves and G28 returns).
// - Consecutive moves of the same type (G0 with G0, G1 with G1, no dwell between) whose
//   directions differ so little that passing the kink within one servo cycle needs less than
//   a tenth of an axis's acceleration run on through it at their speed, in every path mode.
// - Exact stop (G61, G61.1): otherwise every move starts and ends at rest; a move with a
//   neighbour of its own type accelerates at 0.9 of the limit.
// - Blending (G64, and the start-up mode): consecutive moves of the same type (G0 with G0, G1
//   with G1, no dwell between) are joined by a blend arc: the smallest that passes the corner
//   at their speed with the normal share of the acceleration (of the slowest axis in the
//   plane of the two moves), but no larger than the tolerance
//   allows (0.0254 mm in the start-up mode, G64 P when given) nor than half the shorter move;
//   the arc cuts its ends off both moves and is run at its speed. A change of type stops. A
//   move followed by a dwell (even G4 P0) or the program's end keeps the halved acceleration of
//   the blend it never makes.
// - Dwells add their time; the controller spends a servo cycle at rest after a stop, a few
//   beside a dwell, and some 0.085 s starting and ending the program.
// Feed moves without a feedrate cannot run (LinuxCNC refuses them) and are counted apart.
// Memory stays bounded: a run of blended moves is settled in windows.
class RunTimeModel {
  public:
    explicit RunTimeModel(const MachineLimits& limits);

    // The next move of the program; `letters` are the G-code letters of the program axes (the
    // limits are kept by letter).
    void add(const ProgramMove& move, const std::array<char, 4>& letters);
    // The program has ended (also when it has no M2): every move is settled.
    void finish();

    // The program's time so far; moves not settled yet count as if each stopped on its own.
    double seconds() const { return settled_ + provisional_; }
    std::size_t moves_without_feed() const { return moves_without_feed_; }
    // The path modes the moves ran in.
    bool ran_in(PathMode mode) const { return (modes_seen_ & (1u << static_cast<int>(mode))) != 0; }

  private:
    struct Segment {
        double length = 0;
        double speed = 0;         // top speed
        double acceleration = 0;  // the axes' limit along the move
        std::array<double, 4> unit{};
        std::array<double, 4> axis_acceleration{};  // the limit of each program axis
        bool rapid = true;
        PathMode path = PathMode::startup;
        double tolerance = 0;
        bool joined_before = false;  // flows from the move before it
        bool joined_after = false;   // flows into the move after it
        // The blend into the next move: the speed along its arc, the arc's length, and what
        // the arc cuts off the end of this move and the start of the next.
        double corner_speed = 0;
        double arc_length = 0;
        double trim_before = 0;
        double trim_after = 0;
        bool stop_after = false;  // a dwell or the end follows
        double alone = 0;         // its time from rest to rest, until settled
    };
    void stop_here();
    void settle(std::size_t count, bool stop_at_end);
    // Sets the blend of `a` into `b` (none in exact stop or where the path turns back).
    void blend(Segment& a, Segment& b) const;
    double acceleration_of(const Segment& s) const;

    MachineLimits limits_;
    std::deque<Segment> pending_;
    std::vector<double> speeds_, accelerations_, lengths_;  // scratch of settle()
    double entry_speed_ = 0;                                // of the first pending move
    double settled_ = 0;
    double provisional_ = 0;
    std::size_t moves_without_feed_ = 0;
    unsigned modes_seen_ = 0;
    bool started_ = false;  // a move has been timed
    bool finished_ = false;
};

// The model and the limits in a few words, for a figure's label: "LinuxCNC planner model,
// exact stop G61; default limits" or "...; limits of mill.ini".
std::string time_model_label(const RunTimeModel& model, const MachineLimits& limits);

// The model in a sentence, naming the path mode and where the limits came from.
std::string time_model_text(const RunTimeModel& model, const MachineLimits& limits,
                            const std::array<char, 4>& letters);

}  // namespace ostrivane
