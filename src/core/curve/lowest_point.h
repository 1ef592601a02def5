#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/curve/beta_spline.h"

namespace ostrivane {

// A range of x, from `from` to `to` (from <= to).
struct XRange {
    double from = 0;
    double to = 0;
};

// Finds in a list of x sorted upwards the first at or beyond a value in about constant time:
// the list's range is cut into as many equal buckets as it has entries, each knowing where it
// starts in the list, so a search looks only inside one bucket.
class XIndex {
  public:
    void build(const double* xs, std::size_t count);
    // The index of the first x >= value (count when none is).
    std::size_t lower_bound(const double* xs, double value) const;
    // The index of the first x > value (count when none is).
    std::size_t upper_bound(const double* xs, double value) const;

  private:
    std::size_t bucket(double x) const;

    double from_ = 0;
    double scale_ = 0;
    std::size_t count_ = 0;
    std::vector<std::size_t> start_;
};

// The lowest point of a curve over a range of x, found on the curve itself rather than on a
// sampling of it, so no narrow dip between two samples is missed. The curve is read as a whole,
// branch by branch: where it doubles back in x (an undercut), every part of it above the range
// counts.
//
// The parts of the curve above [left, right] are stretches of parameter; on each, y is lowest
// at one of its ends or at a local minimum of y inside. Their ends are where the curve crosses
// x = left or x = right, or the curve's own ends. So the curve is prepared once (again after it
// changes): split into runs along which x only grows or only shrinks (at most one crossing of
// any x per run, found by interpolating between two samples), and its points sorted by x: the
// samples, the curve's ends and every local minimum of y, refined between the samples around
// it, with a table that gives the lowest of any stretch of them at once. A query then costs a
// crossing per run that spans an edge (one outside the undercuts) and a table look-up.
// A segment is a cubic or a smooth blend of cubics in its parameter, so a minimum narrower than
// a sample spacing (1/64 of a segment) is not a dip anyone could cut.
class LowestPoint {
  public:
    // The lowest y of the curve where its x lies in [left, right]; +infinity when no part of
    // the curve lies there. Needs at least two points.
    double under(const BetaSpline& curve, double left, double right);
    // The lowest of the listed points (see below) with x in [left, right]: real points of the
    // curve, so never below `under`, and found without evaluating it. +infinity when none.
    double listed_under(const BetaSpline& curve, double left, double right);
    // The x ranges where the curve runs backwards (each merged over its run), in curve order.
    const std::vector<XRange>& doubling_back(const BetaSpline& curve);

    // For a caller that walks the curve along x itself: the points every query reads besides
    // its crossings (the samples, the curve's ends, its turns in x and every local minimum of
    // y), sorted by x, with their y. Valid until the curve changes or the next query of
    // another curve.
    const std::vector<double>& listed_x(const BetaSpline& curve);
    const std::vector<double>& listed_y(const BetaSpline& curve);

  private:
    static constexpr int kSamplesPerSegment = 64;
    struct Sample {
        double t, x, y;
    };
    // A stretch of the curve along which x only grows (forward) or only shrinks, as indices
    // into run_points_, with the x range it covers.
    struct Run {
        std::size_t first = 0;
        std::size_t last = 0;
        double from = 0;
        double to = 0;
        bool forward = true;
        XIndex index;  // over run_x_ from `first`, for a forward run
    };

    void refresh(const BetaSpline& curve);
    void build_runs(const BetaSpline& curve, const std::vector<Sample>& raw);
    void build_lows(const BetaSpline& curve, const std::vector<Sample>& raw);
    // The y where the run numbered `run` crosses x = edge, +infinity when it does not; the
    // last few are kept, as neighbouring queries share their edges.
    double crossing(const BetaSpline& curve, std::size_t run, double edge);
    // Lowers `lowest` to y wherever `run` crosses x = edge.
    void crossings(const BetaSpline& curve, const Run& run, double edge, double& lowest) const;
    // The lowest of the sorted points with x in [left, right]; +infinity when there is none.
    double lowest_listed(double left, double right) const;

    std::vector<Sample> run_points_;
    std::vector<double> run_x_;
    std::vector<Run> runs_;
    // The samples, ends and minima, sorted by x, with their y; level k of `block_table_` holds
    // the lowest y of the 2^k blocks of kBlock points from each block on.
    static constexpr std::size_t kBlock = 16;
    std::vector<double> low_x_;
    std::vector<double> low_y_;
    XIndex low_index_;
    std::vector<std::vector<double>> block_table_;
    std::vector<XRange> backwards_;
    struct Crossing {
        std::size_t run = static_cast<std::size_t>(-1);
        double edge = 0;
        double y = 0;
    };
    std::array<Crossing, 8> recent_{};
    std::size_t next_recent_ = 0;
    std::uint64_t generation_ = 0;
    int points_ = -1;
    const BetaSpline* curve_ = nullptr;
};

}  // namespace ostrivane
