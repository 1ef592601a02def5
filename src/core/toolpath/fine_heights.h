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
// The steps' own points on the curve, at most `spacing` apart, and the lowest profile's listed
// points between them bound the profile on a curve that never doubles back: between two
// neighbouring points of the walk the curve is lowest at one of them or at a local minimum of
// y, and every local minimum is listed. Only the other moves are searched exactly.
class FineHeights {
  public:
    // Not owned; both must outlive this. The steps' points are at most `spacing` apart in x.
    FineHeights(LowestPoint& lowest, const BetaSpline& curve, double saw_width, double spacing);

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
    // The walk reaches `point`: it and the listed points before it join the window. A gap in
    // the walk starts the window afresh.
    void walk_to(std::optional<CurvePoint> point);
    // A lower bound of the profile over [from, to] read off the window; none when the window
    // does not cover it.
    std::optional<double> bound(double from, double to);
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
    double spacing_;
    bool single_branch_ = false;
    // The candidates from `window_from_` on, from window_[window_head_]: lowest first, each
    // later one higher and further.
    std::vector<Candidate> window_;
    std::size_t window_head_ = 0;
    const std::vector<double>* listed_x_ = nullptr;
    const std::vector<double>* listed_y_ = nullptr;
    double window_from_ = 0;
    bool walking_ = false;
    double walked_to_ = 0;
    double last_from_ = 0;
    std::size_t next_listed_ = 0;
    SawTop pending_;
    bool has_pending_ = false;  // false: pending_ is the saw at home, which is never written
    bool below_home_ = false;
};

}  // namespace ostrivane
