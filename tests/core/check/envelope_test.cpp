#include "core/check/envelope.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

namespace ostrivane {
namespace {

// The envelope the slow way: every column, at many instants of every move.
struct NaiveEnvelope {
    NaiveEnvelope(double x0, double step, std::size_t count)
        : x0(x0), step(step), height(count, 0.0) {}
    void sweep(double xa, double ya, double xb, double yb, double w) {
        for (std::size_t c = 0; c < height.size(); ++c) {
            const double p = x0 + static_cast<double>(c) * step;
            // y is linear in t, so the highest over the covered t is at an end of that range.
            const double dx = xb - xa;
            double lo = 0, hi = 1;
            if (dx == 0) {
                if (p < xa - 1e-6 || p > xa + w + 1e-6)
                    continue;
            } else {
                const double t1 = (p - w - xa) / dx, t2 = (p - xa) / dx;
                lo = std::max(0.0, std::min(t1, t2));
                hi = std::min(1.0, std::max(t1, t2));
                if (lo > hi + 1e-6 / std::fabs(dx))
                    continue;
                hi = std::max(hi, lo);
            }
            height[c] = std::max({height[c], ya + (yb - ya) * lo, ya + (yb - ya) * hi});
        }
    }
    double lowest(std::size_t first, std::size_t last) const {
        double low = std::numeric_limits<double>::infinity();
        for (std::size_t c = first; c < last; ++c)
            low = std::min(low, height[c]);
        return low;
    }
    double x0, step;
    std::vector<double> height;
};

// Random plunges, traverses and slanted moves: heights, owners and the lowest-height queries
// agree with the column-by-column computation.
TEST(Envelope, AgreesWithTheColumnByColumnSweep) {
    std::mt19937 random(20240611);
    std::uniform_real_distribution<double> x(-5, 55), y(0, 30), pick(0, 1);
    for (int round = 0; round < 20; ++round) {
        const std::size_t count = 500 + static_cast<std::size_t>(round) * 37;
        const double step = 50.0 / static_cast<double>(count - 1);
        Envelope fast(0, step, count, 0, true);
        Envelope plain(0, step, count, 0, false);  // another tree layout without the queries
        NaiveEnvelope slow(0, step, count);
        for (int m = 0; m < 60; ++m) {
            double xa = x(random), xb = x(random), ya = y(random), yb = y(random);
            const double kind = pick(random);
            if (kind < 0.3)
                xb = xa;  // a plunge
            else if (kind < 0.6)
                yb = ya;  // a traverse
            else if (kind < 0.8)
                xb = xa + (xb - xa) * 0.01;  // a short slanted step, as the fine pass makes
            const double w = 0.5 + 5 * pick(random);
            fast.sweep(xa, ya, xb, yb, w, static_cast<std::uint16_t>(m + 1));
            plain.sweep(xa, ya, xb, yb, w, static_cast<std::uint16_t>(m + 1));
            slow.sweep(xa, ya, xb, yb, w);
            const auto first = static_cast<std::size_t>(pick(random) * (count - 1));
            const auto last =
                first + 1 + static_cast<std::size_t>(pick(random) * (count - first - 1));
            ASSERT_DOUBLE_EQ(fast.lowest(first, last), slow.lowest(first, last))
                << "round " << round << " move " << m;
        }
        fast.finish();
        plain.finish();
        for (std::size_t c = 0; c < count; ++c) {
            ASSERT_NEAR(fast.height(c), slow.height[c], 1e-9) << "column " << c;
            ASSERT_NEAR(plain.height(c), fast.height(c), 1e-9) << "column " << c;
            ASSERT_EQ(plain.owner(c), fast.owner(c)) << "column " << c;
        }
    }
}

TEST(Envelope, ColumnsOnASawEdgeCount) {
    Envelope e(0, 0.001, 10001, 0, false);
    const auto [first, last] = e.columns(4.5, 9.0);
    EXPECT_EQ(first, 4500u);
    EXPECT_EQ(last, 9001u);
    EXPECT_EQ(e.columns(-2, -1), (std::pair<std::size_t, std::size_t>{0, 0}));
    EXPECT_EQ(e.columns(9.5, 20), (std::pair<std::size_t, std::size_t>{9500, 10001}));
    // The owner of a column is the move that raised it highest.
    e.raise(0, 10, 2, 7);
    e.raise(5, 20, 3, 8);
    e.raise(0, 20, 1, 9);
    e.finish();
    EXPECT_EQ(e.owner(0), 7);
    EXPECT_EQ(e.owner(5), 8);
    EXPECT_EQ(e.owner(25), 0);
    EXPECT_EQ(e.height(25), 0);
}

}  // namespace
}  // namespace ostrivane
