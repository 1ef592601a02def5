#pragma once
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace ostrivane {

// The highest a saw's flat top has reached, per column of x: columns at x0 + c * step, c = 0 …
// count - 1, every one starting at `floor`. A move of the saw raises a range of columns at once
// and a lowest-height query over a range costs the same, both in time logarithmic in the
// number of columns (a segment tree of maxima that are pushed down only at the end), so a
// program of any length costs per move, not per column it sweeps. Each raise carries an owner
// (the pass that made it); after finish() every column knows its height and the owner of it.
class Envelope {
  public:
    // `lowest_queries`: keep what lowest() needs (a little more work per raise).
    Envelope(double x0, double step, std::size_t count, double floor, bool lowest_queries);

    std::size_t count() const { return count_; }
    double step() const { return step_; }
    double x_of(std::size_t c) const { return x0_ + static_cast<double>(c) * step_; }
    // The columns [first, last) whose x lies in [a, b]; a column within a micrometre's
    // thousandth (1e-6 mm) of an end counts as inside, so that a saw edge on a column reaches
    // it although the program wrote its position rounded.
    std::pair<std::size_t, std::size_t> columns(double a, double b) const;

    // Every column in [first, last) at least `y`.
    void raise(std::size_t first, std::size_t last, double y, std::uint16_t owner);
    // The saw top of width `width` moving in a straight line from left edge xa, height ya to
    // xb, yb: every column it passes over is raised to the highest the top was above it.
    void sweep(double xa, double ya, double xb, double yb, double width, std::uint16_t owner);
    // The lowest height now over the columns [first, last); +infinity for none. Needs
    // lowest_queries.
    double lowest(std::size_t first, std::size_t last) const;

    // Settles every column's height and owner; cheap enough to call once at the end.
    void finish();
    // After finish():
    double height(std::size_t c) const { return tag_[size_ + c]; }
    std::uint16_t owner(std::size_t c) const { return owner_[size_ + c]; }

  private:
    void apply(std::size_t node, double y, std::uint16_t owner);
    void rebuild_above(std::size_t leaf);
    double lowest(std::size_t node, std::size_t lo, std::size_t hi, std::size_t first,
                  std::size_t last, double above) const;

    double x0_;
    double step_;
    std::size_t count_;
    std::size_t size_;  // leaves: count_, or a power of two >= count_ for lowest()
    bool lowest_queries_;
    std::vector<double> tag_;  // the height every column below the node has reached at least
    std::vector<double> low_;  // lowest height below the node, its ancestors not counted
    std::vector<std::uint16_t> owner_;
};

}  // namespace ostrivane
