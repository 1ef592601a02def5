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

TurningDesign::TurningDesign(TGrad& engine, std::vector<DesignSlot> slots)
    : engine_(engine), sampler_(engine.profile), slots_(std::move(slots)) {
    for (int k = 1; k <= engine.count_saw_rec; ++k)
        outline_.saw_rec[k] = engine.saw_rec[k];
    outline_.count_saw_rec = engine.count_saw_rec;
    std::sort(slots_.begin(), slots_.end(),
              [](const DesignSlot& a, const DesignSlot& b) { return a.left < b.left; });
    // A repeated job moves on by the profile's end after every copy.
    copies_ =
        (engine.job.zoet || engine.job.rough) && engine.job.repeater >= 2 ? engine.job.repeater : 1;
    begin_ = engine.profile.XminX;
    end_ = copy_origin(copies_ - 1) + engine.profile.XmaxX;
}

std::optional<double> TurningDesign::local(double x) const {
    if (engine_.profile.Nopoints < 2)
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

namespace {
constexpr double kDesignGrid = 0.01;
}

double TurningDesign::grid_point(long long i) {
    const double x = std::min(engine_.profile.XminX + static_cast<double>(i) * kDesignGrid,
                              engine_.profile.XmaxX);
    double t = 0;
    return sampler_.YatX(x, t);
}

double TurningDesign::profile_at(double at) {
    const double span = engine_.profile.XmaxX - engine_.profile.XminX;
    if (!(span > 2 * kDesignGrid)) {
        double t = 0;
        return sampler_.YatX(at, t);
    }
    const auto i = static_cast<long long>(std::floor((at - engine_.profile.XminX) / kDesignGrid));
    if (i == grid_i_ + 1) {
        grid_a_ = grid_b_;
        grid_b_ = grid_point(i + 1);
    } else if (i != grid_i_) {
        grid_a_ = grid_point(i);
        grid_b_ = grid_point(i + 1);
    }
    grid_i_ = i;
    const double a = engine_.profile.XminX + static_cast<double>(i) * kDesignGrid;
    const double b = std::min(a + kDesignGrid, engine_.profile.XmaxX);
    if (!(b > a))
        return grid_a_;
    return grid_a_ + (grid_b_ - grid_a_) * ((at - a) / (b - a));
}

std::optional<double> TurningDesign::profile(double x) {
    const auto at = local(x);
    if (!at)
        return std::nullopt;
    return profile_at(*at);
}

std::optional<DesignBand> TurningDesign::surface(double x, double slack) {
    const auto at = local(x);
    if (!at)
        return std::nullopt;
    const double y = profile_at(*at);
    const DesignBand depth = slot_depths(slots_, *at, slack);
    return DesignBand{y + depth.low, y + depth.high};
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
