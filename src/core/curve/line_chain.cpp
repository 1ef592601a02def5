#include "core/curve/line_chain.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <deque>
#include <numeric>
#include <optional>

namespace ostrivane {
namespace {

// The grid cell of a point: its coordinates in tolerances, rounded down. Imported coordinates
// lie within the working range, so they fit with room to spare.
struct Cell {
    std::int64_t x = 0;
    std::int64_t y = 0;
    auto operator<=>(const Cell&) const = default;
};

Cell cell_of(const CurvePoint& p) {
    return {static_cast<std::int64_t>(std::floor(p.x / kLineJoinTolerance)),
            static_cast<std::int64_t>(std::floor(p.y / kLineJoinTolerance))};
}

bool meet(const CurvePoint& a, const CurvePoint& b) {
    return std::fabs(a.x - b.x) <= kLineJoinTolerance && std::fabs(a.y - b.y) <= kLineJoinTolerance;
}

// Every line end, sorted by its cell and then by its number (line * 2, + 1 for the end b), so
// that a cell's ends lie together in the order the search prefers. Ends of lines already in the
// chain are skipped through `next_`, which points past runs of them (shortened as it is read).
class EndIndex {
  public:
    explicit EndIndex(const std::vector<LineSegment>& lines) : lines_(lines) {
        const std::size_t n = lines.size() * 2;
        ends_.reserve(n);
        for (std::size_t k = 0; k < n; ++k)
            ends_.push_back({cell_of(point(k)), static_cast<std::uint32_t>(k)});
        std::sort(ends_.begin(), ends_.end(), [](const End& a, const End& b) {
            return a.cell != b.cell ? a.cell < b.cell : a.number < b.number;
        });
        place_.resize(n);
        for (std::size_t i = 0; i < n; ++i)
            place_[ends_[i].number] = static_cast<std::uint32_t>(i);
        next_.resize(n + 1);
        std::iota(next_.begin(), next_.end(), std::uint32_t{0});
    }

    // Takes line k out of the search.
    void remove(std::size_t line) {
        for (const std::size_t end : {line * 2, line * 2 + 1})
            next_[place_[end]] = place_[end] + 1;
    }

    // The number of the first end (as ordered above) that meets `tip`.
    std::optional<std::uint32_t> first_meeting(const CurvePoint& tip) {
        const Cell centre = cell_of(tip);
        std::optional<std::uint32_t> best;
        for (std::int64_t dx = -1; dx <= 1; ++dx) {
            for (std::int64_t dy = -1; dy <= 1; ++dy) {
                const auto found = first_in_cell({centre.x + dx, centre.y + dy}, tip);
                if (found && (!best || *found < *best))
                    best = found;
            }
        }
        return best;
    }

    CurvePoint point(std::size_t end) const {
        const LineSegment& s = lines_[end / 2];
        return end % 2 == 0 ? s.a : s.b;
    }

  private:
    struct End {
        Cell cell;
        std::uint32_t number = 0;
    };

    std::optional<std::uint32_t> first_in_cell(const Cell& cell, const CurvePoint& tip) {
        const auto from = std::lower_bound(ends_.begin(), ends_.end(), cell,
                                           [](const End& e, const Cell& c) { return e.cell < c; });
        const auto to = std::upper_bound(from, ends_.end(), cell,
                                         [](const Cell& c, const End& e) { return c < e.cell; });
        const auto last = static_cast<std::uint32_t>(to - ends_.begin());
        for (std::uint32_t i = skip(static_cast<std::uint32_t>(from - ends_.begin())); i < last;
             i = skip(i + 1)) {
            if (meet(point(ends_[i].number), tip))
                return ends_[i].number;
        }
        return std::nullopt;
    }

    // The first place from `i` on that is still in the search.
    std::uint32_t skip(std::uint32_t i) {
        std::uint32_t root = i;
        while (next_[root] != root)
            root = next_[root];
        while (next_[i] != root) {
            const std::uint32_t up = next_[i];
            next_[i] = root;
            i = up;
        }
        return root;
    }

    const std::vector<LineSegment>& lines_;
    std::vector<End> ends_;
    std::vector<std::uint32_t> place_;  // where each end lies in ends_
    std::vector<std::uint32_t> next_;
};

}  // namespace

std::vector<CurvePoint> join_line_chain(const std::vector<LineSegment>& lines) {
    if (lines.empty())
        return {};
    EndIndex index(lines);
    index.remove(0);
    std::deque<CurvePoint> chain = {lines.front().a, lines.front().b};
    // Grow the chain at its end, then at its start, until no line left meets it.
    for (const bool at_end : {true, false}) {
        while (const auto end = index.first_meeting(at_end ? chain.back() : chain.front())) {
            index.remove(*end / 2);
            // The line's other end is the chain's new tip.
            const CurvePoint next = index.point(*end ^ 1u);
            if (at_end)
                chain.push_back(next);
            else
                chain.push_front(next);
        }
    }
    return {chain.begin(), chain.end()};
}

}  // namespace ostrivane
