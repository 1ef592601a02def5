#include "core/check/check_design.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/toolpath/tooth_reader.h"

namespace ostrivane {

namespace {
DesignBand depths_from(const std::vector<DesignSlot>& slots, std::size_t first, double x,
                       double slack) {
    bool near = false;
    bool past_an_edge = false;
    DesignBand band{std::numeric_limits<double>::infinity(),
                    -std::numeric_limits<double>::infinity()};
    for (std::size_t k = first; k < slots.size(); ++k) {
        const DesignSlot& s = slots[k];
        if (s.left > x + slack)
            break;
        if (x - slack > s.right)
            continue;
        near = true;
        band.low = std::min(band.low, s.depth);
        band.high = std::max(band.high, s.depth);
        if (x - slack < s.left || x + slack > s.right)
            past_an_edge = true;
    }
    if (!near)
        return {};
    if (past_an_edge) {
        band.low = std::min(band.low, 0.0);
        band.high = std::max(band.high, 0.0);
    }
    return band;
}
}  // namespace

DesignBand slot_depths(const std::vector<DesignSlot>& slots, double x, double slack) {
    return depths_from(slots, 0, x, slack);
}

std::vector<double> slot_reach(const std::vector<DesignSlot>& slots) {
    std::vector<double> reach;
    reach.reserve(slots.size());
    double most = -std::numeric_limits<double>::infinity();
    for (const DesignSlot& s : slots) {
        most = std::max(most, s.right);
        reach.push_back(most);
    }
    return reach;
}

DesignBand slot_depths(const std::vector<DesignSlot>& slots, const std::vector<double>& reach,
                       double x, double slack) {
    // Every slot before the first that reaches x - slack ends short of it and is passed over.
    const auto first = std::lower_bound(reach.begin(), reach.end(), x - slack) - reach.begin();
    return depths_from(slots, static_cast<std::size_t>(first), x, slack);
}

std::vector<DesignSlot> turning_slots(TGrad& engine, std::string tooth_bytes,
                                      std::string tooth_name) {
    std::vector<DesignSlot> slots;
    for (const toothrec& T : engine.profile_slots(std::move(tooth_bytes), std::move(tooth_name)))
        slots.push_back({T.posleft, T.posright, T.depth});
    return slots;
}

namespace {
// A saw edge this close to a slot's edge (mm) reaches the slot: programs write positions to
// eight decimals, and a long row of relative moves adds up their rounding.
constexpr double kSlotEdge = 1e-5;
}  // namespace

TurningDesign::TurningDesign(TGrad& engine, std::vector<DesignSlot> slots)
    : engine_(engine),
      curve_(engine.profile, engine.profile.XminX, engine.profile.XmaxX),
      walker_(curve_),
      slots_(std::move(slots)) {
    for (int k = 1; k <= engine.count_saw_rec; ++k)
        outline_.saw_rec[k] = engine.saw_rec[k];
    outline_.count_saw_rec = engine.count_saw_rec;
    std::sort(slots_.begin(), slots_.end(),
              [](const DesignSlot& a, const DesignSlot& b) { return a.left < b.left; });
    reach_ = slot_reach(slots_);
    // A repeated job moves on by the profile's end after every copy.
    copies_ =
        (engine.job.zoet || engine.job.rough) && engine.job.repeater >= 2 ? engine.job.repeater : 1;
    begin_ = engine.profile.XminX;
    end_ = copy_origin(copies_ - 1) + engine.profile.XmaxX;
}

std::optional<double> TurningDesign::local(double x) const {
    if (engine_.profile.Nopoints < 2 || curve_.empty())
        return std::nullopt;
    const double span = engine_.profile.XmaxX;
    int k = 0;
    if (copies_ > 1 && span > 0)
        k = std::clamp(static_cast<int>(std::floor(x / span)), 0, copies_ - 1);
    // The end of one copy is where the next begins: x there belongs to the earlier copy too.
    for (const int copy : {k, k - 1}) {
        if (copy < 0)
            continue;
        const double at = x - copy_origin(copy);
        if (at >= engine_.profile.XminX && at <= engine_.profile.XmaxX)
            return at;
    }
    return std::nullopt;
}

std::optional<double> TurningDesign::profile(double x) {
    const auto at = local(x);
    if (!at)
        return std::nullopt;
    const double y = walker_.at(*at);
    if (!std::isfinite(y))
        return std::nullopt;
    return y;
}

std::optional<DesignBand> TurningDesign::surface(double x, double slack) {
    const auto at = local(x);
    if (!at)
        return std::nullopt;
    const double y = walker_.at(*at);
    if (!std::isfinite(y))
        return std::nullopt;
    const DesignBand depth = slot_depths(slots_, reach_, *at, slack);
    return DesignBand{y + depth.low, y + depth.high};
}

void TurningDesign::excess_in_copy(double a, double b, double x0, double y0, double slope,
                                   DesignExcess& most) const {
    a = std::max(a, curve_.from());
    b = std::min(b, curve_.to());
    if (!(a <= b))
        return;
    // Where a slot's deepest reach changes, the range is cut: in each part the depth allowed is
    // one number.
    std::vector<double> cuts{a};
    const auto first = static_cast<std::size_t>(
        std::lower_bound(reach_.begin(), reach_.end(), a - kSlotEdge) - reach_.begin());
    for (std::size_t k = first; k < slots_.size() && slots_[k].left <= b + kSlotEdge; ++k) {
        for (const double edge : {slots_[k].left - kSlotEdge, slots_[k].left + kSlotEdge,
                                  slots_[k].right - kSlotEdge, slots_[k].right + kSlotEdge}) {
            if (edge > a && edge < b)
                cuts.push_back(edge);
        }
    }
    std::sort(cuts.begin(), cuts.end());
    cuts.push_back(b);
    for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
        const double from = cuts[k];
        const double to = cuts[k + 1];
        const double depth =
            slots_.empty() ? 0.0 : slot_depths(slots_, reach_, (from + to) / 2, kSlotEdge).high;
        // The design deepened by the slot against the line: the line raised by nothing, the
        // design by the depth, is the line lowered by the depth.
        const DesignLow low = curve_.lowest_below_line(from, to, x0, y0 - depth, slope);
        if (std::isfinite(low.value) && -low.value > most.mm) {
            most.mm = -low.value;
            most.x = low.x;
        }
    }
}

DesignExcess TurningDesign::excess(double a, double b, double x0, double y0, double slope) const {
    DesignExcess most;
    if (engine_.profile.Nopoints < 2 || curve_.empty())
        return most;
    // Only the copies the range reaches.
    int k_first = 0;
    int k_last = copies_ - 1;
    const double span = engine_.profile.XmaxX;
    if (copies_ > 1 && span > 0) {
        k_first = static_cast<int>(
            std::clamp(std::floor((a - curve_.to()) / span), 0.0, static_cast<double>(k_last)));
        k_last = static_cast<int>(std::clamp(std::floor((b - curve_.from()) / span) + 1, 0.0,
                                             static_cast<double>(k_last)));
    }
    for (int k = k_first; k <= k_last; ++k) {
        const double origin = copy_origin(k);
        if (origin + curve_.from() > b || origin + curve_.to() < a)
            continue;
        DesignExcess here;
        excess_in_copy(a - origin, b - origin, x0 - origin, y0, slope, here);
        if (here.mm > most.mm)
            most = {here.mm, here.x + origin};
    }
    return most;
}

JointDesign joint_design_of_fields(const TfastRec& job) {
    JointDesign d;
    d.saw_width = job.width_of_saw;
    d.face_y = job.start_positionY;
    const auto n = static_cast<long long>(std::llround(job.number_of_cuts));
    for (long long k = 0; k < n; ++k) {
        const double kk = static_cast<double>(k);
        const double left = kk * (job.width_of_cut + job.width_of_pin) + job.start_positionX;
        const double right =
            kk * (job.width_of_cut + job.width_of_pin) + job.start_positionX + job.width_of_cut;
        d.slots.push_back({left, right, job.depth_cut});
    }
    return d;
}

JointDesign joint_design_of_tooth_file(const TfastRec& job, std::string bytes, std::string name) {
    JointDesign d;
    d.saw_width = job.width_of_saw;
    d.face_y = job.start_positionY;
    ToothFile file(std::move(bytes), std::move(name));
    const std::int32_t n = file.read_count();
    for (std::int32_t k = 0; k < n; ++k) {
        DesignSlot s;
        s.left = file.read_number();
        s.right = file.read_number();
        s.depth = file.read_number();
        d.slots.push_back(s);
    }
    std::sort(d.slots.begin(), d.slots.end(),
              [](const DesignSlot& a, const DesignSlot& b) { return a.left < b.left; });
    return d;
}

}  // namespace ostrivane
