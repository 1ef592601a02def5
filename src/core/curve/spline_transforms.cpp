#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "core/curve/spline_points.h"

namespace ostrivane {

namespace {
// Holds notices back, so that a transform can say what it does before the notices of the
// sampling it needed for the decision.
class HeldNotices final : public MessageSink {
  public:
    using MessageSink::notice;
    void notice(const std::string& text, std::uint32_t colour, bool critical) override {
        held_.push_back({text, colour, critical});
    }
    void release(MessageSink& to) {
        for (const Held& h : held_)
            to.notice(h.text, h.colour, h.critical);
        held_.clear();
    }

  private:
    struct Held {
        std::string text;
        std::uint32_t colour;
        bool critical;
    };
    std::vector<Held> held_;
};
}  // namespace

void TBetaSPLpoints::transfer(double TransX, double TransY) {
    message("Moving complete spline done");
    const double dx = TransX - X.Tomatch[0];
    const double dy = TransY - Y.Tomatch[0];
    for (int k = 0; k < Nopoints; ++k) {
        X.Tomatch[k] = X.Tomatch[k] + dx;
        Y.Tomatch[k] = Y.Tomatch[k] + dy;
    }
    for (int p = 1; p <= NoParts; ++p) {
        fromX[p] = fromX[p] + dx;
        ToX[p] = ToX[p] + dx;
    }
    refresh();
}

void TBetaSPLpoints::mirror() {
    message("Mirror spline around spline mean done");
    double sum = 0;
    for (int k = 0; k < Nopoints; ++k)
        sum += Y.Tomatch[k];
    const double mean = sum / Nopoints;
    for (int k = 0; k < Nopoints; ++k)
        Y.Tomatch[k] = 2 * mean - Y.Tomatch[k];
    refresh();
}

void TBetaSPLpoints::swap() {
    message("Swapping spline around spline mean done");
    const double m = (XmaxX + XminX) / 2;
    for (int k = 0; k < Nopoints; ++k)
        X.Tomatch[k] = 2 * m - X.Tomatch[k];
    // Reverse the order so that x ascends again; shape values and marks stay in their slots.
    for (int k = 0, j = Nopoints - 1; k < j; ++k, --j) {
        std::swap(X.Tomatch[k], X.Tomatch[j]);
        std::swap(Y.Tomatch[k], Y.Tomatch[j]);
    }
    refresh();
}

void TBetaSPLpoints::Scale(double min_X, double min_Y, double max_X, double max_Y) {
    // The scale factors divide by the profile's ranges: a set without a curve or with an
    // empty range cannot be scaled.
    if (Nopoints < 2) {
        message("Scaling needs a spline of at least two points");
        return;
    }
    const double x_from = XminX;
    const double x_to = XmaxX;
    if (!(x_to != x_from)) {
        message("Scaling is not possible: the spline has no length");
        return;
    }
    HeldNotices walk_notices;
    MessageSink& own = notices();
    set_notices(walk_notices);
    const bool failed = ostrivane::failed(Calcgradients());
    set_notices(own);
    // Without the whole sampled y range the points would land at wrong heights.
    if (failed) {
        walk_notices.release(own);
        message("Scaling is not possible: the height of the spline could not be sampled");
        return;
    }
    if (!(YmaxY != YminY)) {
        walk_notices.release(own);
        message("Scaling is not possible: the spline has no height");
        return;
    }
    message("Scaling done");
    walk_notices.release(own);
    const auto map_x = [&](double x) {
        return min_X + (x - x_from) * (max_X - min_X) / (x_to - x_from);
    };
    for (int k = 0; k < Nopoints; ++k) {
        Y.Tomatch[k] = min_Y + (Y.Tomatch[k] - YminY) * (max_Y - min_Y) / (YmaxY - YminY);
        X.Tomatch[k] = map_x(X.Tomatch[k]);
    }
    for (int p = 1; p <= NoParts; ++p) {
        fromX[p] = map_x(fromX[p]);
        ToX[p] = map_x(ToX[p]);
    }
    refresh();
}

void TBetaSPLpoints::circle(double Position_X, double Position_Y, double circle_diam,
                            std::int32_t support_points) {
    const double cx = Position_X;
    const double cy = Position_Y;
    const int n = support_points;
    if (n < 0)
        return;
    if (n == 0) {
        // The angle step would be pi / 0.
        message("A circle needs at least one support point");
        return;
    }
    const double diam = circle_diam;
    for (int d = 0; d <= n; ++d) {
        // Once the set is full every further point would only repeat the refusal.
        if (Nopoints >= kMaxPoints) {
            save_point(cx, cy);
            return;
        }
        const double angle = (std::numbers::pi / n) * d;
        save_point(cx + std::cos(angle) * diam / 2, cy + std::sin(angle) * diam / 2);
    }
}

}  // namespace ostrivane
