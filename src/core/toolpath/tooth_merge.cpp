#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "core/toolpath/tgrad.h"

namespace ostrivane {
namespace {
// A slot this much narrower than the saw still counts as wide enough: widths typed to the
// last digit must pass.
constexpr double kWidthTolerance = 0.00001;
}  // namespace

void TGrad::readtooth(toothrec& tth) {
    if (teethcounter > noteeth || !toth)
        return;
    tth.posleft = toth->read_number();
    tth.posright = toth->read_number();
    if (std::fabs(tth.posright - tth.posleft) + kWidthTolerance < profile.mill_width)
        failure = true;
    if (job.second_spline) {
        // The slot's bottom follows the second spline: its depth is the distance between the
        // splines at the slot's middle. The file's depth line is passed over unread.
        EvaluatePos = (tth.posleft + tth.posright) / 2;
        if (profile.XminX < EvaluatePos && EvaluatePos < profile.XmaxX && spline2.Nopoints >= 2)
            tth.depth = spline2.YatX(EvaluatePos) - profile.YatX(EvaluatePos);
        else
            tth.depth = 0;
        toth->skip_line();
    } else {
        tth.depth = toth->read_number();
    }
    ++teethcounter;
}

bool TGrad::append_pass_entry(const gradient_rec& entry) {
    if (gradCounter2 == TBetaSPLpoints::kMaxGradients)
        return false;
    gradientsArray2[++gradCounter2] = entry;
    return true;
}

void TGrad::mark_slot_edge(double x, double y) {
    if (view_ != nullptr)
        view_->slot_edge(x, y);
}

bool TGrad::slot_edge_entry(double x, double depth) {
    gradient_rec e;
    e.positive = profile.YatX(x) - profile.YatX(x - 1 / profile.steps_mm_x) > 0;
    e.positionX = x;
    e.positionXleft = x;
    e.positionYleft = e.positive ? profile.YatX(x) : profile.YatX(x + profile.mill_width);
    e.depth = depth;
    if (!append_pass_entry(e))
        return false;
    mark_slot_edge(x, e.positionYleft);
    return true;
}

bool TGrad::first_slot(toothrec& T) {
    // The first tooth beyond the profile's start (and the second spline's, when it is used).
    while (teethcounter <= noteeth && toth) {
        readtooth(T);
        if (T.posleft > profile.XminX && (!job.second_spline || T.posleft > spline2.XminX))
            return true;
    }
    return false;
}

bool TGrad::on_profile(const toothrec& T) const {
    return T.posleft < profile.XmaxX && (!job.second_spline || T.posleft <= spline2.XmaxX);
}

bool TGrad::next_slot(toothrec& T) {
    if (teethcounter > noteeth)
        return false;
    readtooth(T);
    return true;
}

std::vector<toothrec> TGrad::profile_slots(std::string bytes, std::string name) {
    toth = std::make_unique<ToothFile>(std::move(bytes), std::move(name));
    teethcounter = 1;
    // The file is closed however the reading ends: a damaged one throws.
    struct CloseTooth {
        TGrad& engine;
        ~CloseTooth() {
            engine.toth.reset();
            engine.noteeth = 0;
        }
    } close_tooth{*this};
    noteeth = toth->read_count();
    std::vector<toothrec> slots;
    toothrec T;
    for (bool have = first_slot(T); have && on_profile(T); have = next_slot(T))
        slots.push_back({T.posleft, std::min(T.posright, profile.XmaxX), T.depth});
    return slots;
}

void TGrad::calctooth() {
    failure = false;
    merged_slots.clear();
    gradCounter2 = 0;
    const auto& G = profile.GradientsArray;
    const int N = profile.GradCounter;

    toothrec T;
    bool have = first_slot(T);

    // Without turning points there is nothing to start the list with.
    int i = 1;
    bool fits = true;
    if (N >= 1) {
        fits = append_pass_entry(G[1]);
        i = 2;
    }
    while (fits && have && on_profile(T)) {
        const double L = T.posleft;
        double R = T.posright;
        const double D = T.depth;
        while (fits && i <= N && G[i].positionXleft <= L)
            fits = append_pass_entry(G[i++]);
        fits = fits && slot_edge_entry(L, D);
        // Saw positions inside the slot cut to its depth and may not pass its right edge.
        while (fits && i <= N && G[i].positionXleft < R) {
            gradient_rec inside = G[i++];
            inside.depth = D;
            if (inside.positionXleft + profile.mill_width > R)
                inside.positionXleft = R - profile.mill_width;
            fits = append_pass_entry(inside);
        }
        R = R < profile.XmaxX ? R : profile.XmaxX;
        fits = fits && slot_edge_entry(R, 0);
        merged_slots.push_back({L, R, D});
        have = next_slot(T);
    }
    while (fits && i <= N)
        fits = append_pass_entry(G[i++]);

    if (failure || !fits) {
        // The plain saw positions, so the picture stays meaningful; no pass is cut.
        for (int k = 1; k <= N; ++k)
            gradientsArray2[k] = G[k];
        gradCounter2 = N;
        merged_slots.clear();
        fail(failure ? "Saw width more than cut width !!"
                     : "Too many tooth slots: the saw positions exceed the pass list of " +
                           std::to_string(TBetaSPLpoints::kMaxGradients));
    }
}

}  // namespace ostrivane
