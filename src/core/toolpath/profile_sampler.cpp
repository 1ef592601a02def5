#include "core/toolpath/profile_sampler.h"

#include <cstring>

#include "core/curve/spline_search.h"

namespace ostrivane {

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
}

double ProfileSampler::YatX(double X_Value, double& oldtime) {
    refresh();
    const double y =
        curve_.YatX(X_Value, [this](double t, double& x, double& y) { evaluate(t, x, y); });
    oldtime = curve_.oldtime;
    return y;
}

}  // namespace ostrivane
