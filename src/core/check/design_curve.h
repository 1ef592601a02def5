#pragma once
#include <cstddef>
#include <limits>
#include <vector>

#include "core/curve/beta_spline.h"

namespace ostrivane {

// A point of the design and its value there: where a query found its answer.
struct DesignLow {
    double value = std::numeric_limits<double>::infinity();  // +infinity: no curve there
    double x = 0;
};

// The profile as the cut check reads it: the curve itself, every branch of it. Where the curve
// doubles back in x (an undercut) a flat-topped saw that comes from below cannot rise above the
// lowest branch over x without cutting the part, so the design at x is the lowest y of the
// curve over x.
//
// How: each segment is cut into pieces short enough that the chord of a piece lies within
// kChord of the curve (found by halving, with the curve evaluated at a piece's quarter points),
// and the pieces are grouped into runs along which x only grows or only shrinks. A run is a
// function of x; the design is the least of the runs. Every query looks at the runs over its
// range only, by binary search, and within a run at the points inside the range: a dip between
// two envelope columns, a steep flank beside a saw edge, a branch folded under another are all
// read where they are, not at a grid point next to them.
class DesignCurve {
  public:
    // How far a chord may stray from the curve, in mm.
    static constexpr double kChord = 2e-6;

    // The curve where its x lies in [from, to]; parts outside are not the design.
    DesignCurve(const BetaSpline& curve, double from, double to);

    double from() const { return from_; }
    double to() const { return to_; }
    bool empty() const { return runs_.empty(); }

    // The design at x: the lowest branch over it; +infinity where no branch lies.
    double at(double x) const;
    // The least of design(x) - (y0 + slope * (x - x0)) over x in [a, b], and where: the
    // deepest a straight saw top over [a, b] (through y0 at x0) stands above the design is
    // minus this.
    DesignLow lowest_below_line(double a, double b, double x0, double y0, double slope) const;

    // A walk over increasing x that reads the design at each one in amortised constant time.
    class Walker {
      public:
        explicit Walker(const DesignCurve& curve);
        double at(double x);

      private:
        const DesignCurve* curve_;
        std::vector<std::size_t> piece_;  // per run: the piece last read
    };

  private:
    struct Point {
        double x, y;
    };
    // Points in order of growing x (a run that shrinks in x is stored reversed), with the least
    // y of every block of kBlock points and of every kBlock blocks: a query passes over a block
    // that cannot hold its answer at one look.
    struct Run {
        std::vector<Point> points;
        std::vector<double> block_low;
        std::vector<double> super_low;
        double x_from = 0;
        double x_to = 0;
        // Where the last query began: the next one, usually close by, searches from there.
        mutable std::size_t hint = 0;
    };
    static constexpr std::size_t kBlock = 32;

    void sample(const BetaSpline& curve);
    void add_run(std::vector<Point> points);
    static double y_on(const Run& run, std::size_t piece, double x);
    // The piece of `run` (index of its left point) that holds x, x within the run.
    static std::size_t piece_of(const Run& run, double x);
    static std::size_t first_from(const std::vector<Point>& points, double x, std::size_t hint,
                                  bool beyond);
    void lowest_in_run(const Run& run, double a, double b, double x0, double y0, double slope,
                       DesignLow& low) const;

    double from_;
    double to_;
    std::vector<Run> runs_;
};

}  // namespace ostrivane
