#include <algorithm>
#include <cstdint>

#include "core/text/number_format.h"
#include "core/toolpath/tgrad.h"

namespace ostrivane {
namespace {
// The lower of two heights; of two equal ones the second.
double lower(double a, double b) {
    return a < b ? a : b;
}
}  // namespace

void TGrad::evaluate_window(int i, double L, double R, double& t, double& h) {
    const auto& G = profile.GradientsArray;
    // Left of the turning point: the saw's left edge and the turning points it covers there.
    // The first entry is only the profile's first sample, not a turn, so it is left out.
    t = profile.YatX(L);
    for (int k = i - 1; k >= 2 && L <= G[k].positionX && L >= profile.XminX; --k)
        t = lower(t, profile.YatX(G[k].positionX));
    h = profile.YatX(R);
    for (int j = i + 1; j <= profile.GradCounter && G[j].positionX <= R && R <= profile.XmaxX; ++j)
        h = lower(h, profile.YatX(G[j].positionX));
}

void TGrad::placesaws() {
    const double w = profile.mill_width;
    // The finest step of the balance search, one sample of the profile. Kept at least 1 so a
    // damaged resolution cannot turn the search around.
    const std::int64_t finest = std::max<std::int64_t>(1, round_to_int(profile.steps_mm_x));
    std::int64_t step = profile.Nostep;
    for (int i = 1; i <= profile.GradCounter; ++i) {
        gradient_rec& g = profile.GradientsArray[i];
        // Centred on the turning point, but never beyond the profile's ends.
        double L = g.positionX - w / 2;
        double R = L + w;
        if (L < profile.XminX) {
            L = profile.XminX;
            R = profile.XminX + w;
        } else if (R > profile.XmaxX) {
            R = profile.XmaxX;
            L = profile.XmaxX - w;
        }
        double t = 0;
        double h = 0;
        evaluate_window(i, L, R, t, h);
        // Balance: slide the saw towards its lower side, still covering the turning point,
        // until both sides are equally low; the step halves from 0.5 mm down to one sample.
        if (i > 1 && h < t && L > profile.XminX) {
            step = 2;
            for (;;) {
                L = std::max(L - 1.0 / static_cast<double>(step), g.positionX - w);
                R = L + w;
                evaluate_window(i, L, R, t, h);
                if (h > t || L == g.positionX - w) {
                    if (step == finest)
                        break;
                    L = L + 2.0 / static_cast<double>(step);
                    step = std::min(2 * step, finest);
                }
            }
        } else if (i > 1 && R < profile.XmaxX) {
            step = 2;
            for (;;) {
                L = std::min(L + 1.0 / static_cast<double>(step), g.positionX);
                R = L + w;
                evaluate_window(i, L, R, t, h);
                if (h < t || L == g.positionX) {
                    if (step == finest)
                        break;
                    L = L - 2.0 / static_cast<double>(step);
                    step = std::min(2 * step, finest);
                }
            }
        }
        g.positionXleft = L;
        g.positionYleft = lower(h, t);
        // A low turning point under the saw limits it too.
        if (g.positive) {
            const double at_turn = profile.YatX(g.positionX);
            if (at_turn < g.positionYleft)
                g.positionYleft = at_turn;
        }
        show_saw(L, g.positionYleft, false);
    }
    profile.Nostep = static_cast<std::uint16_t>(step);
}

}  // namespace ostrivane
