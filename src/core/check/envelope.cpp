#include "core/check/envelope.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ostrivane {
namespace {
constexpr double kInf = std::numeric_limits<double>::infinity();
// A saw edge this close to a column (mm) reaches it: programs write eight decimals, and the
// edges of a long row of relative moves carry their rounding.
constexpr double kEdge = 1e-6;
// A sloped part over more columns than this goes into the tree of lines.
constexpr std::size_t kLongPart = 64;
}  // namespace

SawSweep saw_sweep(double xa, double ya, double xb, double yb, double width) {
    SawSweep s;
    if (xa == xb || ya == yb) {
        s.pieces[0] = {std::min(xa, xb), std::max(xa, xb) + width, std::max(ya, yb),
                       std::max(ya, yb)};
        s.count = 1;
        return s;
    }
    // The same swept shape whichever end the move starts from: take it from left to right.
    if (xb < xa) {
        std::swap(xa, xb);
        std::swap(ya, yb);
    }
    // Over x the top covers the move's times from (x - width - xa) / dx to (x - xa) / dx; y is
    // straight in time, so the highest is at the later of those times when it rises, the
    // earlier when it falls.
    if (yb > ya) {
        s.pieces[0] = {xb, xb + width, yb, yb};
        s.pieces[1] = {xa, xb, ya, yb};
    } else {
        s.pieces[0] = {xa, xa + width, ya, ya};
        s.pieces[1] = {xa + width, xb + width, ya, yb};
    }
    s.count = 2;
    return s;
}

Envelope::Envelope(double x0, double step, std::size_t count, double floor, bool lowest_queries)
    : x0_(x0), step_(step), count_(count), size_(1), lowest_queries_(lowest_queries) {
    // The lowest-height query walks the tree from its root by halves, which needs a power of two
    // of leaves; raising and settling work on any count.
    if (lowest_queries_) {
        while (size_ < count_)
            size_ *= 2;
    } else {
        size_ = std::max<std::size_t>(count_, 1);
    }
    tag_.assign(2 * size_, -kInf);
    owner_.assign(2 * size_, 0);
    for (std::size_t c = 0; c < count_; ++c)
        tag_[size_ + c] = floor;
    if (lowest_queries_) {
        low_.assign(2 * size_, kInf);
        for (std::size_t c = 0; c < count_; ++c)
            low_[size_ + c] = floor;
        for (std::size_t i = size_ - 1; i >= 1; --i)
            low_[i] = std::min(low_[2 * i], low_[2 * i + 1]);
    }
}

std::pair<std::size_t, std::size_t> Envelope::columns(double a, double b) const {
    if (!(a <= b) || count_ == 0)
        return {0, 0};
    const double edge = std::min(kEdge / step_, 0.01);
    const double first = std::ceil((a - x0_) / step_ - edge);
    const double last = std::floor((b - x0_) / step_ + edge);
    const double top = static_cast<double>(count_) - 1;
    if (last < 0 || first > top)
        return {0, 0};
    const auto f = static_cast<std::size_t>(std::max(0.0, first));
    const auto l = static_cast<std::size_t>(std::min(top, last));
    return f <= l ? std::pair{f, l + 1} : std::pair<std::size_t, std::size_t>{0, 0};
}

void Envelope::apply(std::size_t node, double y, std::uint16_t owner) {
    if (y > tag_[node]) {
        tag_[node] = y;
        owner_[node] = owner;
        if (lowest_queries_)
            low_[node] = std::max(low_[node], y);
    }
}

void Envelope::rebuild_above(std::size_t leaf) {
    for (std::size_t i = leaf >> 1; i >= 1; i >>= 1)
        low_[i] = std::max(tag_[i], std::min(low_[2 * i], low_[2 * i + 1]));
}

void Envelope::raise(std::size_t first, std::size_t last, double y, std::uint16_t owner) {
    if (first >= last)
        return;
    std::size_t l = first + size_;
    std::size_t r = last + size_;
    while (l < r) {
        if (l & 1)
            apply(l++, y, owner);
        if (r & 1)
            apply(--r, y, owner);
        l >>= 1;
        r >>= 1;
    }
    if (lowest_queries_) {
        rebuild_above(first + size_);
        rebuild_above(last - 1 + size_);
    }
}

void Envelope::rebuild_above(std::size_t first, std::size_t last) {
    // Level by level over the ancestors of the leaves [first, last): each node once.
    std::size_t l = (first + size_) >> 1;
    std::size_t r = (last - 1 + size_) >> 1;
    for (; l >= 1; l >>= 1, r >>= 1) {
        for (std::size_t i = l; i <= r; ++i)
            low_[i] = std::max(tag_[i], std::min(low_[2 * i], low_[2 * i + 1]));
        if (l == 1)
            break;
    }
}

void Envelope::keep_edges() {
    rising_.assign(count_, std::numeric_limits<float>::quiet_NaN());
    falling_.assign(count_, std::numeric_limits<float>::quiet_NaN());
}

void Envelope::mark_edge(std::vector<float>& edges, double x) {
    const double cell = std::floor((x - x0_) / step_);
    if (!(cell >= 0 && cell < static_cast<double>(count_)))
        return;
    const auto c = static_cast<std::size_t>(cell);
    edges[c] = static_cast<float>(x - x_of(c));
}

double Envelope::rising_edge(std::size_t c) const {
    return rising_.empty() ? std::numeric_limits<double>::quiet_NaN()
                           : x_of(c) + static_cast<double>(rising_[c]);
}

double Envelope::falling_edge(std::size_t c) const {
    return falling_.empty() ? std::numeric_limits<double>::quiet_NaN()
                            : x_of(c) + static_cast<double>(falling_[c]);
}

void Envelope::raise(const SawPiece& piece, std::uint16_t owner) {
    if (!rising_.empty() && piece.from <= piece.to) {
        mark_edge(rising_, piece.from);
        mark_edge(falling_, piece.to);
    }
    const auto [first, last] = columns(piece.from, piece.to);
    if (first >= last)
        return;
    if (piece.level() || !(piece.to > piece.from)) {
        raise(first, last, std::max(piece.y_from, piece.y_to), owner);
        return;
    }
    const double span = piece.to - piece.from;
    const double rise = piece.y_to - piece.y_from;
    if (!lowest_queries_ && last - first > kLongPart) {
        // y at column c, the piece's line through its left end.
        const double b = rise / span * step_;
        const double a = piece.y_from + (x0_ - piece.from) * (rise / span);
        add_line(first, last, a, b, owner);
        return;
    }
    for (std::size_t c = first; c < last; ++c) {
        const double f = std::clamp((x_of(c) - piece.from) / span, 0.0, 1.0);
        apply(size_ + c, piece.y_from + rise * f, owner);
    }
    if (lowest_queries_)
        rebuild_above(first, last);
}

void Envelope::sweep(double xa, double ya, double xb, double yb, double width,
                     std::uint16_t owner) {
    const SawSweep s = saw_sweep(xa, ya, xb, yb, width);
    for (int k = 0; k < s.count; ++k)
        raise(s.pieces[k], owner);
}

double Envelope::lowest(std::size_t node, std::size_t lo, std::size_t hi, std::size_t first,
                        std::size_t last, double above) const {
    if (last <= lo || hi <= first)
        return kInf;
    if (first <= lo && hi <= last)
        return std::max(low_[node], above);
    const double here = std::max(above, tag_[node]);
    const std::size_t mid = lo + (hi - lo) / 2;
    return std::min(lowest(2 * node, lo, mid, first, last, here),
                    lowest(2 * node + 1, mid, hi, first, last, here));
}

double Envelope::lowest(std::size_t first, std::size_t last) const {
    if (first >= last)
        return kInf;
    return lowest(1, 0, size_, first, last, -kInf);
}

std::int32_t Envelope::child(std::int32_t node, int side) {
    if (lines_[static_cast<std::size_t>(node)].child[side] < 0) {
        lines_.push_back({});
        lines_[static_cast<std::size_t>(node)].child[side] =
            static_cast<std::int32_t>(lines_.size() - 1);
    }
    return lines_[static_cast<std::size_t>(node)].child[side];
}

void Envelope::add_line(std::size_t first, std::size_t last, double a, double b,
                        std::uint16_t owner) {
    if (lines_.empty())
        lines_.push_back({});
    add_line(0, 0, count_, first, last, a, b, owner);
}

void Envelope::add_line(std::int32_t node, std::size_t lo, std::size_t hi, std::size_t first,
                        std::size_t last, double a, double b, std::uint16_t owner) {
    if (last <= lo || hi <= first)
        return;
    const std::size_t mid = lo + (hi - lo) / 2;
    if (!(first <= lo && hi <= last)) {
        if (first < mid)
            add_line(child(node, 0), lo, mid, first, last, a, b, owner);
        if (last > mid)
            add_line(child(node, 1), mid, hi, first, last, a, b, owner);
        return;
    }
    // The node lies wholly under the line: keep the higher at the middle, hand the other down
    // to the half where it is higher at the end.
    for (;;) {
        LineNode& n = lines_[static_cast<std::size_t>(node)];
        if (!n.has_line) {
            n = {a, b, owner, {n.child[0], n.child[1]}, true};
            return;
        }
        const auto at = [](double la, double lb, std::size_t c) {
            return la + lb * static_cast<double>(c);
        };
        const std::size_t m = lo + (hi - lo) / 2;
        if (at(a, b, m) > at(n.a, n.b, m)) {
            std::swap(a, n.a);
            std::swap(b, n.b);
            std::swap(owner, n.owner);
        }
        if (hi - lo <= 1)
            return;
        const bool left_higher = at(a, b, lo) > at(n.a, n.b, lo);
        const bool right_higher = at(a, b, hi - 1) > at(n.a, n.b, hi - 1);
        if (left_higher) {
            node = child(node, 0);
            hi = m;
        } else if (right_higher) {
            node = child(node, 1);
            lo = m;
        } else {
            return;
        }
    }
}

void Envelope::settle_lines(std::int32_t node, std::size_t lo, std::size_t hi) {
    if (node < 0 || lo >= hi)
        return;
    const LineNode n = lines_[static_cast<std::size_t>(node)];
    if (n.has_line) {
        for (std::size_t c = lo; c < hi; ++c) {
            const double y = n.a + n.b * static_cast<double>(c);
            if (y > tag_[size_ + c]) {
                tag_[size_ + c] = y;
                owner_[size_ + c] = n.owner;
            }
        }
    }
    const std::size_t mid = lo + (hi - lo) / 2;
    settle_lines(n.child[0], lo, mid);
    settle_lines(n.child[1], mid, hi);
}

void Envelope::finish() {
    for (std::size_t i = 1; i < size_; ++i) {
        for (const std::size_t child : {2 * i, 2 * i + 1}) {
            if (tag_[i] > tag_[child]) {
                tag_[child] = tag_[i];
                owner_[child] = owner_[i];
            }
        }
    }
    if (!lines_.empty())
        settle_lines(0, 0, count_);
    lines_.clear();
}

}  // namespace ostrivane
