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
}  // namespace

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

void Envelope::sweep(double xa, double ya, double xb, double yb, double width,
                     std::uint16_t owner) {
    const double dx = xb - xa;
    const auto [first, last] = columns(std::min(xa, xb), std::max(xa, xb) + width);
    if (first >= last)
        return;
    if (ya == yb || dx == 0) {
        raise(first, last, std::max(ya, yb), owner);
        return;
    }
    // Columns the top covers during the whole move see its highest end; the others (near the
    // edges) only part of the move: the highest of the two ends of that part, as y is linear.
    const auto [inner_first, inner_last] = columns(std::max(xa, xb), std::min(xa, xb) + width);
    raise(inner_first, inner_last, std::max(ya, yb), owner);
    const double dy = yb - ya;
    for (std::size_t c = first; c < last; ++c) {
        if (c >= inner_first && c < inner_last) {
            c = inner_last - 1;
            continue;
        }
        const double p = x_of(c);
        const double t1 = (p - width - xa) / dx;
        const double t2 = (p - xa) / dx;
        const double lo = std::clamp(std::min(t1, t2), 0.0, 1.0);
        const double hi = std::clamp(std::max(t1, t2), lo, 1.0);
        const double y = std::max(ya + dy * lo, ya + dy * hi);
        raise(c, c + 1, y, owner);
    }
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

void Envelope::finish() {
    for (std::size_t i = 1; i < size_; ++i) {
        for (const std::size_t child : {2 * i, 2 * i + 1}) {
            if (tag_[i] > tag_[child]) {
                tag_[child] = tag_[i];
                owner_[child] = owner_[i];
            }
        }
    }
}

}  // namespace ostrivane
