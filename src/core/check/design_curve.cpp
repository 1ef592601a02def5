#include "core/check/design_curve.h"

#include <algorithm>
#include <cmath>

namespace ostrivane {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
// Every segment starts as this many pieces, so that an S-bend whose quarter points happen to
// lie on one chord is still split.
constexpr int kFirstPieces = 8;
// The shortest piece, in curve parameter: far below anything a machine could cut.
constexpr double kShortestPiece = 1.0 / (1 << 24);
// A step back in x this small is rounding in the curve's evaluation, not a fold.
constexpr double kBackwards = 1e-9;

double off_chord(const CurvePoint& a, const CurvePoint& b, const CurvePoint& p) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length = std::hypot(dx, dy);
    if (length < 1e-12)
        return std::hypot(p.x - a.x, p.y - a.y);
    return std::fabs((p.x - a.x) * dy - (p.y - a.y) * dx) / length;
}

}  // namespace

DesignCurve::DesignCurve(const BetaSpline& curve, double from, double to) : from_(from), to_(to) {
    if (curve.segments() >= 1 && from <= to)
        sample(curve);
}

void DesignCurve::sample(const BetaSpline& curve) {
    std::vector<Point> points;
    const CurvePoint first = curve.evaluate_at(0, false);
    points.push_back({first.x, first.y});
    struct Piece {
        double t0, t1;
        CurvePoint p0, p1;
    };
    std::vector<Piece> stack;
    for (int s = 0; s < curve.segments(); ++s) {
        // Pieces are pushed last-first so that they come off the stack in curve order.
        for (int k = kFirstPieces - 1; k >= 0; --k) {
            const double t0 = s + static_cast<double>(k) / kFirstPieces;
            const double t1 = s + static_cast<double>(k + 1) / kFirstPieces;
            stack.push_back({t0, t1, curve.evaluate_at(t0, false), curve.evaluate_at(t1, false)});
        }
        while (!stack.empty()) {
            const Piece p = stack.back();
            stack.pop_back();
            const double h = p.t1 - p.t0;
            const CurvePoint q1 = curve.evaluate_at(p.t0 + h / 4, false);
            const CurvePoint mid = curve.evaluate_at(p.t0 + h / 2, false);
            const CurvePoint q3 = curve.evaluate_at(p.t0 + 3 * h / 4, false);
            const double off = std::max(
                {off_chord(p.p0, p.p1, q1), off_chord(p.p0, p.p1, mid), off_chord(p.p0, p.p1, q3)});
            if (off > kChord && h > kShortestPiece) {
                stack.push_back({p.t0 + h / 2, p.t1, mid, p.p1});
                stack.push_back({p.t0, p.t0 + h / 2, p.p0, mid});
                continue;
            }
            points.push_back({p.p1.x, p.p1.y});
        }
    }
    // A curve read from a hostile file may not evaluate to numbers: such points are no design.
    std::erase_if(points,
                  [](const Point& p) { return !std::isfinite(p.x) || !std::isfinite(p.y); });
    if (points.empty())
        return;
    // Runs along which x only grows or only shrinks; the point where x turns ends one run and
    // starts the next.
    std::vector<Point> run{points.front()};
    int direction = 0;
    for (std::size_t k = 1; k < points.size(); ++k) {
        Point p = points[k];
        const double step = p.x - run.back().x;
        if (std::fabs(step) <= kBackwards) {
            p.x = run.back().x;
            run.push_back(p);
            continue;
        }
        const int d = step > 0 ? 1 : -1;
        if (direction != 0 && d != direction) {
            const Point turn = run.back();
            add_run(std::move(run));
            run = {turn};
        }
        direction = d;
        run.push_back(p);
    }
    add_run(std::move(run));
}

void DesignCurve::add_run(std::vector<Point> points) {
    if (points.size() < 2)
        return;
    if (points.back().x < points.front().x)
        std::reverse(points.begin(), points.end());
    Run run;
    run.x_from = points.front().x;
    run.x_to = points.back().x;
    if (run.x_to < from_ || run.x_from > to_)
        return;
    for (std::size_t b = 0; b < points.size(); b += kBlock) {
        double low = kInf;
        for (std::size_t k = b; k < std::min(points.size(), b + kBlock); ++k)
            low = std::min(low, points[k].y);
        run.block_low.push_back(low);
    }
    for (std::size_t b = 0; b < run.block_low.size(); b += kBlock) {
        double low = kInf;
        for (std::size_t k = b; k < std::min(run.block_low.size(), b + kBlock); ++k)
            low = std::min(low, run.block_low[k]);
        run.super_low.push_back(low);
    }
    run.points = std::move(points);
    runs_.push_back(std::move(run));
}

std::size_t DesignCurve::piece_of(const Run& run, double x) {
    const auto& p = run.points;
    const auto after =
        std::upper_bound(p.begin(), p.end(), x, [](double v, const Point& q) { return v < q.x; });
    const auto k = static_cast<std::size_t>(after - p.begin());
    return std::min(k == 0 ? 0 : k - 1, p.size() - 2);
}

double DesignCurve::y_on(const Run& run, std::size_t piece, double x) {
    const Point& a = run.points[piece];
    const Point& b = run.points[piece + 1];
    if (!(b.x > a.x))
        return std::min(a.y, b.y);
    const double f = std::clamp((x - a.x) / (b.x - a.x), 0.0, 1.0);
    return a.y + (b.y - a.y) * f;
}

std::size_t DesignCurve::first_from(const std::vector<Point>& p, double x, std::size_t hint,
                                    bool beyond) {
    // The first point at x or beyond (`beyond`: beyond x only), found by steps that double from
    // the hint and a binary search between the last two.
    const auto before = [&](std::size_t k) { return beyond ? p[k].x <= x : p[k].x < x; };
    const std::size_t n = p.size();
    hint = std::min(hint, n - 1);
    // Between lo and hi: every point before lo is before x, the point at hi (if any) is not.
    std::size_t lo = 0;
    std::size_t hi = n;
    if (before(hint)) {
        lo = hint + 1;
        for (std::size_t step = 1; lo + step - 1 < n; step *= 2) {
            const std::size_t probe = lo + step - 1;
            if (!before(probe)) {
                hi = probe;
                break;
            }
            lo = probe + 1;
        }
    } else {
        hi = hint;
        for (std::size_t step = 1; hi >= step; step *= 2) {
            const std::size_t probe = hi - step;
            if (before(probe)) {
                lo = probe + 1;
                break;
            }
            hi = probe;
        }
    }
    std::size_t k = lo;
    std::size_t count = hi > lo ? hi - lo : 0;
    while (count > 0) {
        const std::size_t half = count / 2;
        if (before(k + half)) {
            k += half + 1;
            count -= half + 1;
        } else {
            count = half;
        }
    }
    return k;
}

double DesignCurve::at(double x) const {
    if (!(x >= from_ && x <= to_))
        return kInf;
    double y = kInf;
    for (const Run& run : runs_) {
        if (x >= run.x_from && x <= run.x_to)
            y = std::min(y, y_on(run, piece_of(run, x), x));
    }
    return y;
}

void DesignCurve::lowest_in_run(const Run& run, double a, double b, double x0, double y0,
                                double slope, DesignLow& low) const {
    a = std::max(a, run.x_from);
    b = std::min(b, run.x_to);
    if (!(a <= b))
        return;
    auto see = [&](double x, double y) {
        const double v = y - (y0 + slope * (x - x0));
        if (v < low.value) {
            low.value = v;
            low.x = x;
        }
    };
    const auto& p = run.points;
    const std::size_t first = first_from(p, a, run.hint, false);
    const std::size_t end = first_from(p, b, first, true);
    run.hint = first;
    // The pieces that hold a and b end at the first point beyond them.
    const std::size_t last_piece = p.size() - 2;
    see(a, y_on(run, std::min(std::max<std::size_t>(first, 1) - 1, last_piece), a));
    see(b, y_on(run, std::min(std::max<std::size_t>(end, 1) - 1, last_piece), b));
    // A block whose least y is no lower under the line's highest over it than what is found
    // cannot hold the answer.
    const auto line_top = [&](std::size_t i, std::size_t j) {
        return y0 + slope * ((slope > 0 ? p[j - 1].x : p[i].x) - x0);
    };
    constexpr std::size_t kSuper = kBlock * kBlock;
    for (std::size_t k = first; k < end;) {
        if (k % kSuper == 0 && k + kSuper <= end &&
            run.super_low[k / kSuper] - line_top(k, k + kSuper) >= low.value) {
            k += kSuper;
            continue;
        }
        if (k % kBlock == 0 && k + kBlock <= end) {
            if (run.block_low[k / kBlock] - line_top(k, k + kBlock) < low.value) {
                for (std::size_t j = k; j < k + kBlock; ++j)
                    see(p[j].x, p[j].y);
            }
            k += kBlock;
            continue;
        }
        see(p[k].x, p[k].y);
        ++k;
    }
}

DesignLow DesignCurve::lowest_below_line(double a, double b, double x0, double y0,
                                         double slope) const {
    DesignLow low;
    a = std::max(a, from_);
    b = std::min(b, to_);
    if (!(a <= b))
        return low;
    for (const Run& run : runs_)
        lowest_in_run(run, a, b, x0, y0, slope, low);
    return low;
}

DesignCurve::Walker::Walker(const DesignCurve& curve)
    : curve_(&curve), piece_(curve.runs_.size(), 0) {}

double DesignCurve::Walker::at(double x) {
    if (!(x >= curve_->from_ && x <= curve_->to_))
        return kInf;
    double y = kInf;
    for (std::size_t r = 0; r < curve_->runs_.size(); ++r) {
        const Run& run = curve_->runs_[r];
        if (!(x >= run.x_from && x <= run.x_to))
            continue;
        std::size_t& k = piece_[r];
        if (run.points[k].x > x)
            k = piece_of(run, x);
        while (k + 2 < run.points.size() && run.points[k + 1].x < x)
            ++k;
        y = std::min(y, y_on(run, k, x));
    }
    return y;
}

}  // namespace ostrivane
