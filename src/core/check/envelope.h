#pragma once
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace ostrivane {

// What a flat saw top of width w sweeps moving in a straight line from left edge xa, height ya
// to xb, yb, as the highest the top stands over each x: a level part (the blade's own width at
// the higher end) and a sloped part (over the travel in x), each a straight top from
// (from, y_from) to (to, y_to). A move along x or along y alone has only the level part.
struct SawPiece {
    double from = 0;
    double to = 0;
    double y_from = 0;
    double y_to = 0;
    bool level() const { return y_from == y_to; }
    double slope() const { return to > from ? (y_to - y_from) / (to - from) : 0.0; }
};
struct SawSweep {
    SawPiece pieces[2];
    int count = 0;
};
SawSweep saw_sweep(double xa, double ya, double xb, double yb, double width);

// The highest a saw's flat top has reached, per column of x: columns at x0 + c * step, c = 0 …
// count - 1, every one starting at `floor`. A level part of a move raises a range of columns at
// once, and a lowest-height query over a range costs the same, both in time logarithmic in the
// number of columns (a segment tree of maxima that are pushed down only at the end); a sloped
// part costs one cheap step per column it covers. Each raise carries an owner (the pass that
// made it); after finish() every column knows its height and the owner of it.
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
    // Every column under the piece at least the piece's height over it.
    void raise(const SawPiece& piece, std::uint16_t owner);
    // The saw top of width `width` moving in a straight line from left edge xa, height ya to
    // xb, yb: every column it passes over is raised to the highest the top was above it.
    void sweep(double xa, double ya, double xb, double yb, double width, std::uint16_t owner);
    // The lowest height now over the columns [first, last); +infinity for none. Needs
    // lowest_queries (and then every sloped part is raised column by column).
    double lowest(std::size_t first, std::size_t last) const;

    // Keep, per column, the exact x of a saw edge in the column's cell (from its x up to the
    // next column's): where the envelope steps down beside a saw, the most material is left
    // right at the edge, which no column need stand on.
    void keep_edges();
    // The x of the last left end (the envelope rises at it going right) and right end (it falls)
    // of a raise within column c's cell; NaN for none.
    double rising_edge(std::size_t c) const;
    double falling_edge(std::size_t c) const;

    // Settles every column's height and owner; cheap enough to call once at the end.
    void finish();
    // After finish():
    double height(std::size_t c) const { return tag_[size_ + c]; }
    std::uint16_t owner(std::size_t c) const { return owner_[size_ + c]; }

  private:
    void apply(std::size_t node, double y, std::uint16_t owner);
    void rebuild_above(std::size_t leaf);
    void rebuild_above(std::size_t first, std::size_t last);
    double lowest(std::size_t node, std::size_t lo, std::size_t hi, std::size_t first,
                  std::size_t last, double above) const;

    // Long sloped parts, when no lowest() is asked: a tree of lines over the columns in which
    // each node keeps the line that is highest at its middle and hands the other one down to
    // the half where it may still be higher (so a move costs the square of the tree's depth,
    // whatever its length), settled into the columns by finish().
    struct LineNode {
        double a = 0;  // height at column c: a + b * c
        double b = 0;
        std::uint16_t owner = 0;
        std::int32_t child[2] = {-1, -1};
        bool has_line = false;
    };
    void add_line(std::size_t first, std::size_t last, double a, double b, std::uint16_t owner);
    void add_line(std::int32_t node, std::size_t lo, std::size_t hi, std::size_t first,
                  std::size_t last, double a, double b, std::uint16_t owner);
    std::int32_t child(std::int32_t node, int side);
    void settle_lines(std::int32_t node, std::size_t lo, std::size_t hi);

    void mark_edge(std::vector<float>& edges, double x);

    std::vector<LineNode> lines_;
    std::vector<float> rising_;  // per column: the edge's offset from the column's x
    std::vector<float> falling_;
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
