#pragma once
#include <cstddef>
#include <optional>
#include <vector>

#include "core/curve/beta_spline.h"
#include "core/curve/lowest_point.h"

namespace ostrivane {

// One saw position of the fine pass: the blade's left edge and its top.
struct SawTop {
    double left = 0;
    double top = 0;
};

// Settles the heights of the fine pass, one part at a time. The pass finds its steps along the
// profile and a height for each (the lower of the profile under the blade's two edges); the
// saw then moves in a straight line from step to step. That height is kept wherever the move to
// it and the move on from it keep the saw within the tolerance of the lowest profile under the
// blade, swept over every position along the move and every branch of the curve. Where a move
// would reach higher, both its ends come down to the lowest profile under the whole move, so
// the saw leaves the material a flat blade cannot reach instead of cutting into the design.
// Lowering an end never makes the neighbouring move reach higher, so one look ahead suffices:
// a step is settled once the move on from it is known.
//
// Most moves are plainly clear, and the pass makes hundreds of thousands of them: those are
// told from a lower bound of the profile under the move that costs no evaluation of the curve.
// On a curve that never doubles back, the listed points of the lowest point (its samples and
// every local minimum of y) bound it: between two neighbouring listed points the curve is no
// lower than the lower of them, so the listed points from the last one at or before a range
// to the first one at or beyond it (or the step's own point on the curve, where the range
// ends) are never higher than the curve over the range. The window of them slides along the
// part with the moves. Only the moves this cannot clear are searched exactly.
class FineHeights {
  public:
    // Not owned; both must outlive this.
    FineHeights(LowestPoint& lowest, const BetaSpline& curve, double saw_width);

    // A part starts with the saw at its home (top 0) and its left edge at `left`.
    void start(double left);
    // The next step as documented, with the point of the curve its right edge was found on
    // (none when the curve had ended there). Gives the step before it, settled, when there is
    // one. Nothing more is settled once the profile under a move lies below the saw's home by
    // more than the tolerance: the job cannot be cut (below_home()).
    std::optional<SawTop> next(SawTop documented, std::optional<CurvePoint> on_curve);
    // The part's last step, settled; none when the part had no step.
    std::optional<SawTop> finish();

    bool below_home() const { return below_home_; }

  private:
    struct Candidate {
        double x;
        double y;
    };
    // A lower bound of the profile over [from, to] read off the listed points, the step's own
    // point on the curve closing it on the right where it lies there; none on a curve that
    // doubles back, or where the window would have to slide back.
    std::optional<double> bound(double from, double to, std::optional<CurvePoint> on_curve);
    // The move from the pending step to `step`, over [from, to] and at most `highest`, searched
    // exactly: both ends come down to the lowest profile under it when it reaches too high.
    void settle(SawTop& step, double from, double to, double highest);
    // Whether the straight move from `a` to `b` keeps within the tolerance everywhere.
    bool keeps_to_profile(SawTop a, SawTop b);
    // Whether the profile over [from, to] stays above the line from `high_from` at `from` to
    // `high_to` at `to`, less the tolerance; `budget` bounds the searches.
    bool above_line(double from, double to, double high_from, double high_to, int& budget);

    LowestPoint& lowest_;
    const BetaSpline& curve_;
    double w_;
    bool single_branch_ = false;
    const std::vector<double>* listed_x_ = nullptr;
    const std::vector<double>* listed_y_ = nullptr;
    // The listed points from the window's left end on, from window_[window_head_]: lowest
    // first, each later one higher and further.
    std::vector<Candidate> window_;
    std::size_t window_head_ = 0;
    std::size_t left_listed_ = 0;  // the last listed point at or before the window's left end
    std::size_t next_listed_ = 0;  // the first listed point not yet in the window
    double last_from_ = 0;
    SawTop pending_;
    bool has_pending_ = false;  // false: pending_ is the saw at home, which is never written
    bool below_home_ = false;
};

}  // namespace ostrivane
