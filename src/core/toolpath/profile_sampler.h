#pragma once
#include <cstdint>
#include <vector>

#include "core/curve/spline_points.h"

namespace ostrivane {

// The profile search YatX for long runs of nearby x, as the fine pass makes them: the same
// search, so the same result and parameter bit for bit, cheaper. Nearby searches walk the same
// curve parameters through their first halvings, so the curve points already evaluated are
// kept (a small table keyed by the exact parameter), dropped whenever the curve changes.
class ProfileSampler {
  public:
    explicit ProfileSampler(TBetaSPLpoints& curve) : curve_(curve) {}

    // y of the profile at X_Value, as curve.YatX gives it; `oldtime` (and the curve's) receives
    // the parameter.
    double YatX(double X_Value, double& oldtime);

  private:
    struct Point {
        std::uint64_t key = 0;
        double x = 0;
        double y = 0;
        bool used = false;
    };
    static constexpr int kCacheBits = 12;

    void evaluate(double t, double& x, double& y);
    void refresh();

    TBetaSPLpoints& curve_;
    std::uint64_t generation_ = 0;
    int Nopoints_ = -1;
    std::vector<Point> cache_;
};

}  // namespace ostrivane
