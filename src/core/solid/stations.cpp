#include "core/solid/stations.h"

#include <algorithm>
#include <cmath>

namespace ostrivane {
namespace {

// Parts of a segment sampled before any is split: a quarter of a segment cannot hide a
// feature that three probes miss.
constexpr int kFirstParts = 8;
constexpr int kDeepestSplit = 20;

struct Sample {
    double t = 0;
    double x = 0;
    double y = 0;
};

Sample sample_at(const BetaSpline& curve, double t) {
    const CurvePoint p = curve.evaluate_at(t, false);
    return {t, p.x, p.y};
}

double distance_to_chord(const Sample& a, const Sample& b, const Sample& p) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length = std::hypot(dx, dy);
    if (length == 0)
        return std::hypot(p.x - a.x, p.y - a.y);
    return std::abs(dx * (p.y - a.y) - dy * (p.x - a.x)) / length;
}

// Adds the samples after `a` up to `b` so that the chords keep within `tolerance`.
void refine(const BetaSpline& curve, const Sample& a, const Sample& b, double tolerance, int depth,
            std::vector<Sample>& out) {
    bool fits = depth >= kDeepestSplit;
    const Sample middle = sample_at(curve, (a.t + b.t) / 2);
    if (!fits) {
        fits = true;
        for (const double f : {0.25, 0.5, 0.75}) {
            const Sample p = f == 0.5 ? middle : sample_at(curve, a.t + f * (b.t - a.t));
            fits = fits && distance_to_chord(a, b, p) <= tolerance;
        }
    }
    if (fits) {
        out.push_back(b);
        return;
    }
    refine(curve, a, middle, tolerance, depth + 1, out);
    refine(curve, middle, b, tolerance, depth + 1, out);
}

std::uint32_t colour_of(const EnvelopeSample& s, double tolerance) {
    if (!s.design)
        return kWoodColour;
    // Within the check's tolerance either way the surface is as designed: a fine pass leaves
    // hundredths between the blade's edges, which would grey the whole piece.
    if (s.envelope > *s.design + tolerance)
        return kOvercutColour;
    if (s.envelope < *s.design - tolerance)
        return kMaterialLeftColour;
    return kWoodColour;
}

// The deepest slot over the open stretch just left (or right) of x.
double depth_beside(const std::vector<DesignSlot>& slots, double x, bool left) {
    double deepest = 0;
    for (const DesignSlot& s : slots) {
        const bool over = left ? (s.left < x && x <= s.right) : (s.left <= x && x < s.right);
        if (over)
            deepest = std::max(deepest, s.depth);
    }
    return deepest;
}

double radius_at(const std::vector<Station>& stations, double x) {
    const auto after = std::upper_bound(stations.begin(), stations.end(), x,
                                        [](double v, const Station& s) { return v < s.x; });
    if (after == stations.begin())
        return stations.front().radius;
    if (after == stations.end())
        return stations.back().radius;
    const Station& a = *(after - 1);
    const Station& b = *after;
    if (b.x == a.x)
        return b.radius;
    return a.radius + (x - a.x) / (b.x - a.x) * (b.radius - a.radius);
}

}  // namespace

std::vector<Station> profile_stations(const BetaSpline& curve, double axis, double tolerance) {
    const int n = curve.segments();
    if (n < 1)
        return {};
    std::vector<Sample> samples{sample_at(curve, 0)};
    for (int part = 1; part <= n * kFirstParts; ++part) {
        const Sample b = sample_at(curve, static_cast<double>(part) / kFirstParts);
        const Sample a = samples.back();
        refine(curve, a, b, tolerance, 0, samples);
    }
    std::vector<Station> stations;
    stations.reserve(samples.size());
    for (const Sample& s : samples)
        stations.push_back({s.x, axis - s.y});
    return stations;
}

std::vector<Station> slotted_stations(const std::vector<Station>& stations,
                                      const std::vector<DesignSlot>& slots) {
    if (slots.empty() || stations.empty())
        return stations;
    std::vector<double> xs;
    for (const Station& s : stations)
        xs.push_back(s.x);
    const double first = stations.front().x;
    const double last = stations.back().x;
    for (const DesignSlot& s : slots) {
        for (const double edge : {s.left, s.right}) {
            if (edge > first && edge < last)
                xs.push_back(edge);
        }
    }
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    std::vector<Station> cut;
    cut.reserve(xs.size() + 2 * slots.size());
    for (const double x : xs) {
        const double r = radius_at(stations, x);
        const double before = depth_beside(slots, x, true);
        const double after = depth_beside(slots, x, false);
        if (before != after && x != first)
            cut.push_back({x, r - before});
        cut.push_back({x, r - after});
    }
    return cut;
}

std::vector<Station> cut_stations(const CheckReport& report, double axis, double tolerance) {
    std::vector<Station> all;
    all.reserve(report.envelope.size());
    for (const EnvelopeSample& s : report.envelope)
        all.push_back({s.x, axis - s.envelope, colour_of(s, report.tolerance)});
    return simplified_stations(all, tolerance);
}

std::vector<std::vector<Station>> checked_design_stations(const CheckReport& report, double axis,
                                                          double tolerance) {
    std::vector<std::vector<Station>> runs;
    std::vector<Station> run;
    const auto close_run = [&] {
        if (run.size() >= 2)
            runs.push_back(simplified_stations(run, tolerance));
        run.clear();
    };
    for (const EnvelopeSample& s : report.envelope) {
        if (s.design)
            run.push_back({s.x, axis - *s.design});
        else
            close_run();
    }
    close_run();
    return runs;
}

}  // namespace ostrivane
