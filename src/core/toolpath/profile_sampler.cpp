#include "core/toolpath/profile_sampler.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace ostrivane {
namespace {
constexpr double kCoarseStep = 0.1;
constexpr double kFineStep = 0.0001;
}  // namespace

void ProfileSampler::evaluate(double t, double& x, double& y) {
    std::uint64_t key = 0;
    std::memcpy(&key, &t, sizeof key);
    Point& p = cache_[(key * 0x9E3779B97F4A7C15ull) >> (64 - kCacheBits)];
    if (!p.used || p.key != key) {
        curve_.evaluate(t, p.x, p.y);
        p.key = key;
        p.used = true;
    }
    x = p.x;
    y = p.y;
}

void ProfileSampler::refresh() {
    if (generation_ == curve_.curve_generation() && Nopoints_ == curve_.Nopoints && !cache_.empty())
        return;
    generation_ = curve_.curve_generation();
    Nopoints_ = curve_.Nopoints;
    cache_.assign(std::size_t{1} << kCacheBits, Point{});
    t_.clear();
    x_.clear();
    y_.clear();
    reach_.clear();
    // Exactly the parameters the search's forward scan from t = 0 visits, accumulated alike.
    const double tmax = curve_.segments() - 1e-11;
    double reach = -std::numeric_limits<double>::infinity();
    double t = 0;
    while (t < tmax) {
        double x = 0;
        double y = 0;
        curve_.evaluate(t, x, y);
        reach = std::isnan(x) ? std::numeric_limits<double>::infinity() : std::max(reach, x);
        t_.push_back(t);
        x_.push_back(x);
        y_.push_back(y);
        reach_.push_back(reach);
        t = t + kCoarseStep;
    }
    t_.push_back(t);
}

double ProfileSampler::YatX(double X_Value, double& oldtime) {
    refresh();
    const int n = curve_.segments();
    const double tmax = n - 1e-11;
    double t = 0;
    if (tmax < 0)
        t = tmax;
    double x = 0;
    double y = 0;
    evaluate(t, x, y);
    double step = std::fabs(x - X_Value) <= 0.3 ? kFineStep : kCoarseStep;
    bool look_up = step == kCoarseStep && tmax >= 0 && !std::isnan(X_Value);
    for (;;) {
        if (look_up) {
            // The first coarse scan ends where the table says, in the same state.
            look_up = false;
            const std::size_t entries = x_.size();
            std::size_t stop = 0;
            if (x < X_Value) {
                const auto first_reaching = std::lower_bound(reach_.begin(), reach_.end(), X_Value);
                const auto j = static_cast<std::size_t>(first_reaching - reach_.begin());
                stop = std::min(j + 1, entries);
                x = x_[stop - 1];
                y = y_[stop - 1];
            }
            t = t_[stop];
        } else {
            while (x < X_Value && t < tmax) {
                evaluate(t, x, y);
                t = t + step;
            }
        }
        t = t - step;
        if (t < 0)
            t = 0;
        step = step / 2;
        evaluate(t, x, y);
        while (x > X_Value && t > 1e-11) {
            t = t - step;
            if (t < 0)
                t = 0;
            evaluate(t, x, y);
        }
        if (std::fabs(x - X_Value) < 0.01 || step < 1e-11)
            break;
    }
    oldtime = t < 0 ? 0 : t;
    curve_.oldtime = oldtime;
    return y;
}

}  // namespace ostrivane
