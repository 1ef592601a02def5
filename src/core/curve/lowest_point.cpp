#include "core/curve/lowest_point.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ostrivane {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
// A step back in x smaller than this is rounding, not an undercut.
constexpr double kBackwards = 1e-9;
// Golden-section steps over the parameter span of two samples (2/64 of a segment): down to
// 1e-10 of a segment, far below a nanometre on any profile a machine turns.
constexpr int kGoldenSteps = 42;
// A crossing is found once its x is within this of the edge (mm) ...
constexpr double kCrossingX = 1e-10;
// ... or its parameter bracket is this narrow.
constexpr double kCrossingT = 1e-14;
constexpr int kCrossingSteps = 100;
// A sample no more than this below its neighbours lies on a flat, where the samples already
// tell the lowest point.
constexpr double kFlat = 1e-13;

CurvePoint at(const BetaSpline& curve, double t) {
    return curve.evaluate_at(t, false);
}

// The parameter in [lo, hi] where score(t) is lowest, by golden section.
template <typename Score>
double golden_minimum(double lo, double hi, Score&& score) {
    const double g = (std::sqrt(5.0) - 1) / 2;
    double c = hi - g * (hi - lo);
    double d = lo + g * (hi - lo);
    double sc = score(c);
    double sd = score(d);
    for (int i = 0; i < kGoldenSteps; ++i) {
        if (sc < sd) {
            hi = d;
            d = c;
            sd = sc;
            c = hi - g * (hi - lo);
            sc = score(c);
        } else {
            lo = c;
            c = d;
            sc = sd;
            d = lo + g * (hi - lo);
            sd = score(d);
        }
    }
    return sc < sd ? c : d;
}

int direction(double dx) {
    if (dx > kBackwards)
        return 1;
    if (dx < -kBackwards)
        return -1;
    return 0;
}

}  // namespace

std::size_t XIndex::bucket(double x) const {
    const double k = (x - from_) * scale_;
    if (!(k > 0))
        return 0;
    if (k >= static_cast<double>(start_.size() - 1))
        return start_.size() - 1;
    return static_cast<std::size_t>(k);
}

void XIndex::build(const double* xs, std::size_t count) {
    count_ = count;
    start_.assign(1, 0);
    if (count == 0)
        return;
    from_ = xs[0];
    const double span = xs[count - 1] - xs[0];
    scale_ = span > 0 ? static_cast<double>(count) / span : 0;
    start_.assign(scale_ > 0 ? count : 1, count);
    // Bucket of each x, never falling: the first entry of every bucket up to it.
    std::size_t next = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t b = bucket(xs[i]);
        for (; next <= b; ++next)
            start_[next] = i;
    }
}

std::size_t XIndex::lower_bound(const double* xs, double value) const {
    if (count_ == 0)
        return 0;
    const std::size_t b = bucket(value);
    const std::size_t end = b + 1 < start_.size() ? start_[b + 1] : count_;
    return static_cast<std::size_t>(std::lower_bound(xs + start_[b], xs + end, value) - xs);
}

std::size_t XIndex::upper_bound(const double* xs, double value) const {
    if (count_ == 0)
        return 0;
    const std::size_t b = bucket(value);
    const std::size_t end = b + 1 < start_.size() ? start_[b + 1] : count_;
    return static_cast<std::size_t>(std::upper_bound(xs + start_[b], xs + end, value) - xs);
}

void LowestPoint::refresh(const BetaSpline& curve) {
    if (curve_ == &curve && generation_ == curve.curve_generation() && points_ == curve.Nopoints)
        return;
    curve_ = &curve;
    generation_ = curve.curve_generation();
    points_ = curve.Nopoints;
    recent_.fill({});
    run_points_.clear();
    run_x_.clear();
    runs_.clear();
    low_x_.clear();
    low_y_.clear();
    block_table_.clear();
    backwards_.clear();
    const int n = curve.segments();
    if (n < 1)
        return;
    std::vector<Sample> raw;
    raw.reserve(static_cast<std::size_t>(n) * kSamplesPerSegment + 1);
    for (int s = 0; s < n; ++s) {
        for (int k = 0; k < kSamplesPerSegment; ++k) {
            const double t = s + static_cast<double>(k) / kSamplesPerSegment;
            const CurvePoint p = at(curve, t);
            raw.push_back({t, p.x, p.y});
        }
    }
    const CurvePoint end = at(curve, n);
    raw.push_back({static_cast<double>(n), end.x, end.y});
    build_runs(curve, raw);
    build_lows(curve, raw);
    run_x_.reserve(run_points_.size());
    for (const Sample& s : run_points_)
        run_x_.push_back(s.x);
    for (Run& run : runs_) {
        if (run.forward)
            run.index.build(run_x_.data() + run.first, run.last - run.first + 1);
    }
    low_index_.build(low_x_.data(), low_x_.size());
}

void LowestPoint::build_runs(const BetaSpline& curve, const std::vector<Sample>& raw) {
    int current = 0;
    for (std::size_t k = 0; k + 1 < raw.size() && current == 0; ++k)
        current = direction(raw[k + 1].x - raw[k].x);
    if (current == 0)
        current = 1;
    const auto close_run = [&] {
        Run& run = runs_.back();
        run.last = run_points_.size() - 1;
        const double a = run_points_[run.first].x;
        const double b = run_points_[run.last].x;
        run.from = std::min(a, b);
        run.to = std::max(a, b);
        if (!run.forward)
            backwards_.push_back({run.from, run.to});
    };
    run_points_.push_back(raw[0]);
    runs_.push_back({0, 0, 0, 0, current > 0});
    for (std::size_t k = 0; k + 1 < raw.size(); ++k) {
        const int d = direction(raw[k + 1].x - raw[k].x);
        if (d != 0 && d != current) {
            // The curve turns back in x around sample k: the turn itself is where the run
            // ends, so that no x of the curve near it is left to neither run.
            const double lo =
                std::max(k > 0 ? raw[k - 1].t : raw[k].t, run_points_[runs_.back().first].t);
            const double sign = current;
            const double t =
                golden_minimum(lo, raw[k + 1].t, [&](double u) { return -sign * at(curve, u).x; });
            const CurvePoint p = at(curve, t);
            Sample turn{t, p.x, p.y};
            if (sign * turn.x < sign * raw[k].x)
                turn = raw[k];
            const bool before_sample = turn.t < raw[k].t;
            if (before_sample && run_points_.size() > runs_.back().first + 1)
                run_points_.pop_back();
            run_points_.push_back(turn);
            close_run();
            current = d;
            runs_.push_back({run_points_.size(), 0, 0, 0, current > 0});
            run_points_.push_back(turn);
            if (before_sample)
                run_points_.push_back(raw[k]);
        }
        run_points_.push_back(raw[k + 1]);
    }
    close_run();
}

void LowestPoint::build_lows(const BetaSpline& curve, const std::vector<Sample>& raw) {
    std::vector<Sample> lows(run_points_);
    for (std::size_t k = 1; k + 1 < raw.size(); ++k) {
        const double below_left = raw[k - 1].y - raw[k].y;
        const double below_right = raw[k + 1].y - raw[k].y;
        if (below_left < 0 || below_right < 0 || (below_left <= kFlat && below_right <= kFlat))
            continue;
        const double t =
            golden_minimum(raw[k - 1].t, raw[k + 1].t, [&](double u) { return at(curve, u).y; });
        const CurvePoint p = at(curve, t);
        if (p.y < raw[k].y)
            lows.push_back({t, p.x, p.y});
    }
    std::sort(lows.begin(), lows.end(), [](const Sample& a, const Sample& b) { return a.x < b.x; });
    low_x_.reserve(lows.size());
    low_y_.reserve(lows.size());
    for (const Sample& s : lows) {
        low_x_.push_back(s.x);
        low_y_.push_back(s.y);
    }
    std::vector<double> blocks;
    for (std::size_t b = 0; b * kBlock < low_y_.size(); ++b) {
        const auto first = low_y_.begin() + static_cast<std::ptrdiff_t>(b * kBlock);
        const auto end =
            low_y_.begin() + static_cast<std::ptrdiff_t>(std::min(low_y_.size(), (b + 1) * kBlock));
        blocks.push_back(*std::min_element(first, end));
    }
    block_table_.push_back(std::move(blocks));
    for (std::size_t width = 1; 2 * width <= block_table_.front().size(); width *= 2) {
        const std::vector<double>& below = block_table_.back();
        std::vector<double> next(below.size() - width);
        for (std::size_t i = 0; i < next.size(); ++i)
            next[i] = std::min(below[i], below[i + width]);
        block_table_.push_back(std::move(next));
    }
}

const std::vector<XRange>& LowestPoint::doubling_back(const BetaSpline& curve) {
    refresh(curve);
    return backwards_;
}

double LowestPoint::listed_under(const BetaSpline& curve, double left, double right) {
    refresh(curve);
    return lowest_listed(left, right);
}

const std::vector<double>& LowestPoint::listed_x(const BetaSpline& curve) {
    refresh(curve);
    return low_x_;
}

const std::vector<double>& LowestPoint::listed_y(const BetaSpline& curve) {
    refresh(curve);
    return low_y_;
}

double LowestPoint::lowest_listed(double left, double right) const {
    const std::size_t i = low_index_.lower_bound(low_x_.data(), left);
    const std::size_t end = low_index_.upper_bound(low_x_.data(), right);
    if (i >= end)
        return kInfinity;
    double lowest = kInfinity;
    const auto scan = [&](std::size_t from, std::size_t to) {
        for (std::size_t k = from; k < to; ++k)
            lowest = std::min(lowest, low_y_[k]);
    };
    // Whole blocks from the table, the ends of the range point by point.
    const std::size_t first_block = (i + kBlock - 1) / kBlock;
    const std::size_t end_block = end / kBlock;
    if (first_block >= end_block) {
        scan(i, end);
        return lowest;
    }
    scan(i, first_block * kBlock);
    scan(end_block * kBlock, end);
    const std::size_t count = end_block - first_block;
    std::size_t level = 0;
    while ((std::size_t{2} << level) <= count)
        ++level;
    const std::vector<double>& table = block_table_[level];
    return std::min(
        {lowest, table[first_block], table[first_block + count - (std::size_t{1} << level)]});
}

double LowestPoint::crossing(const BetaSpline& curve, std::size_t run, double edge) {
    for (const Crossing& c : recent_) {
        if (c.run == run && c.edge == edge)
            return c.y;
    }
    double y = kInfinity;
    crossings(curve, runs_[run], edge, y);
    recent_[next_recent_] = {run, edge, y};
    next_recent_ = (next_recent_ + 1) % recent_.size();
    return y;
}

void LowestPoint::crossings(const BetaSpline& curve, const Run& run, double edge,
                            double& lowest) const {
    if (!(edge > run.from && edge < run.to))
        return;  // an edge at a run's end meets it at a listed point
    const auto begin = run_points_.begin() + static_cast<std::ptrdiff_t>(run.first);
    const auto end = run_points_.begin() + static_cast<std::ptrdiff_t>(run.last) + 1;
    const auto beyond =
        run.forward ? begin + static_cast<std::ptrdiff_t>(
                                  run.index.lower_bound(run_x_.data() + run.first, edge))
                    : std::partition_point(begin, end, [&](const Sample& s) { return s.x > edge; });
    if (beyond == begin || beyond == end || beyond->x == edge)
        return;  // on a listed point
    Sample a = *(beyond - 1);
    Sample b = *beyond;
    // Regula falsi with the Illinois correction: x runs one way between two samples, nearly
    // straight, so two or three evaluations find the crossing.
    double fa = a.x - edge;
    double fb = b.x - edge;
    int kept = 0;
    for (int i = 0; i < kCrossingSteps; ++i) {
        double t = (a.t * fb - b.t * fa) / (fb - fa);
        if (!(t > a.t && t < b.t))
            t = a.t + (b.t - a.t) / 2;
        const CurvePoint p = at(curve, t);
        const double f = p.x - edge;
        if (std::fabs(f) <= kCrossingX) {
            lowest = std::min(lowest, p.y);
            return;
        }
        if ((f < 0) == (fa < 0)) {
            a = {t, p.x, p.y};
            fa = f;
            if (kept == -1)
                fb /= 2;
            kept = -1;
        } else {
            b = {t, p.x, p.y};
            fb = f;
            if (kept == 1)
                fa /= 2;
            kept = 1;
        }
        if (b.t - a.t <= kCrossingT)
            break;
    }
    // The crossing lies between the two; the lower one is the safe reading.
    lowest = std::min({lowest, a.y, b.y});
}

double LowestPoint::under(const BetaSpline& curve, double left, double right) {
    refresh(curve);
    if (runs_.empty() || !(left <= right))
        return kInfinity;
    double lowest = lowest_listed(left, right);
    for (std::size_t r = 0; r < runs_.size(); ++r)
        lowest = std::min({lowest, crossing(curve, r, left), crossing(curve, r, right)});
    return lowest;
}

}  // namespace ostrivane
