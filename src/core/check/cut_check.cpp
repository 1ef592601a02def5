#include "core/check/cut_check.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/check/program_stats.h"
#include "core/gcode/gcode_program.h"
#include "core/text/ascii_text.h"
#include "core/text/error.h"
#include "core/text/file_lines.h"

namespace ostrivane {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
// The finest envelope column and the coarsest output sample, in mm.
constexpr double kFinestColumn = 0.01;
constexpr double kCoarsestSample = 0.1;
// A finger-joint slot is cut where the blade went this deep into the face.
constexpr double kCutDepth = 1e-6;
// How many lines the check reads between two looks at its host.
constexpr std::size_t kLinesPerPump = 4096;

bool is_motion(const Move& m) {
    return m.kind == MoveKind::rapid || m.kind == MoveKind::feed || m.kind == MoveKind::home ||
           m.kind == MoveKind::home_all;
}

// The envelope's columns over [begin, end], no finer than `step` and no more than the most.
std::unique_ptr<Envelope> envelope_over(double begin, double end, double step, bool lowest) {
    const double span = std::max(0.0, end - begin);
    if (span / step + 1 > static_cast<double>(kMostEnvelopeColumns))
        step = span / static_cast<double>(kMostEnvelopeColumns - 1);
    const auto count = static_cast<std::size_t>(std::floor(span / step + 1e-9)) + 1;
    return std::make_unique<Envelope>(begin, step, count, 0.0, lowest);
}

// Keeps the largest difference and its x.
struct Largest {
    double value = -kInf;
    double x = 0;
    void see(double v, double at) {
        if (v > value) {
            value = v;
            x = at;
        }
    }
    // Below half a micrometre a difference is the rounding of the written numbers.
    Deviation deviation() const {
        if (value > 5e-7)
            return {value, x};
        return {};
    }
};

struct Judged {
    Largest overcut;
    Largest left;
    bool any = false;
    // The envelope at x against the least and the most the design asks for there.
    void see(double envelope, const DesignBand& design, double x) {
        overcut.see(envelope - design.high, x);
        left.see(design.low - envelope, x);
        any = true;
    }
};

std::size_t pass_index(PassKind kind) {
    switch (kind) {
        case PassKind::rough:
            return 0;
        case PassKind::fast_rough:
            return 1;
        case PassKind::fine:
            return 2;
        default:
            return 3;
    }
}

}  // namespace

CutCheck::CutCheck(CheckInputs inputs, CheckObserver* observer)
    : in_(std::move(inputs)), observer_(observer), reader_(in_.settings), timer_(in_.limits) {}

CutCheck::~CutCheck() = default;

void CutCheck::start(ProgramKind kind) {
    kind_ = kind;
    if (in_.design_for)
        in_.design_for(kind, in_);
    if (kind == ProgramKind::turning) {
        if (in_.turning == nullptr)
            return;  // timed only
        TurningDesign& d = *in_.turning;
        if (!(d.end() > d.begin()))
            throw Error("The profile of this turning program holds no length to check against");
        const double column = std::min(1 / d.resolution(), kFinestColumn);
        envelope_ = envelope_over(d.begin(), d.end(), column > 0 ? column : kFinestColumn,
                                  d.outline().count_saw_rec > 0);
        return;
    }
    if (in_.joint == nullptr)
        return;  // timed only
    const JointDesign& j = *in_.joint;
    double lo = 0;
    double hi = 0;
    for (const DesignSlot& s : j.slots) {
        lo = std::min(lo, s.left);
        hi = std::max(hi, s.right);
    }
    // Room for a stray pass on either side of the slots.
    const double margin = 10 + 2 * std::fabs(j.saw_width);
    envelope_ = envelope_over(lo - margin, hi + margin, 0.001, false);
}

void CutCheck::check_outline(const std::array<double, 4>& from, const std::array<double, 4>& to,
                             const ProgramMove& move) {
    const TurningDesign& d = *in_.turning;
    const SawOutline& outline = d.outline();
    const double axis = d.turning_axis();
    const double beam_radius = d.beam_thickness() / 2;
    for (int k = 1; k <= outline.count_saw_rec; ++k) {
        const SawRec& r = outline.saw_rec[k];
        if (r.x1 == r.x2 || r.y1 == r.y2)
            continue;  // a line, no body
        // The box the rectangle sweeps over during the move.
        const double xa = std::min(from[0], to[0]) + std::min(r.x1, r.x2);
        const double xb = std::max(from[0], to[0]) + std::max(r.x1, r.x2);
        const double ya = std::min(from[1], to[1]) + std::min(r.y1, r.y2);
        const double yb = std::max(from[1], to[1]) + std::max(r.y1, r.y2);
        const auto [first, last] = envelope_->columns(xa, xb);
        if (first >= last)
            continue;
        // The work turns: at x it fills the circle of its remaining radius around the axis.
        const double radius = std::min(beam_radius, axis - envelope_->lowest(first, last));
        if (radius > 0 && ya < axis + radius && yb > axis - radius) {
            interference_ = Interference{moves_, move.line, to[0], to[1]};
            return;
        }
    }
}

void CutCheck::follow(const ProgramMove& pm) {
    timer_.add(pm, reader_.letters());
    seconds_ = timer_.seconds();
    const Move& m = pm.move;
    if (!is_motion(m))
        return;
    const std::array<double, 4> from = position_;
    std::array<double, 4> to = from;
    for (std::size_t a = 0; a < 4; ++a) {
        if (m.moves(program_axes[a]))
            to[a] += m.distance[a];
    }
    ++moves_;
    if (!envelope_) {
        // Nothing to judge against.
    } else if (*kind_ == ProgramKind::turning) {
        const std::uint16_t section = passes_.section_of(m);
        envelope_->sweep(from[0], from[1], to[0], to[1], in_.turning->saw_width(), section);
        if (!interference_ && in_.turning->outline().count_saw_rec > 0)
            check_outline(from, to, pm);
    } else if (m.moves(Axis::Z) && to[2] != from[2]) {
        // The blade cuts as it travels through the work's height, as deep as Y stands then.
        const JointDesign& j = *in_.joint;
        const double a = from[1] - j.face_y;
        const double b = to[1] - j.face_y;
        envelope_->sweep(from[0], a, to[0], b, j.saw_width, 1);
        const double deepest = std::max(a, b);
        const double left = std::min(from[0], to[0]);
        const double right = std::max(from[0], to[0]) + j.saw_width;
        const double grid_begin = envelope_->x_of(0);
        const double grid_end = envelope_->x_of(envelope_->count() - 1);
        if (deepest > outside_.max_mm && (left < grid_begin || right > grid_end)) {
            outside_.max_mm = deepest;
            outside_.at_x = left < grid_begin ? left : std::max(left, grid_end);
        }
    }
    position_ = to;
    if (observer_ != nullptr)
        observer_->moved(moves_, pm, from, to, seconds_);
}

void CutCheck::add_line(std::string_view line) {
    pending_.clear();
    reader_.read_line(line, pending_);
    for (const ProgramMove& m : pending_) {
        if (!kind_ && is_motion(m.move))
            start(in_.kind.value_or(guessed_kind()));
        if (!kind_) {
            timer_.add(m, reader_.letters());
            seconds_ = timer_.seconds();
            continue;
        }
        follow(m);
    }
}

void CutCheck::judge_turning(CheckReport& report) {
    TurningDesign& d = *in_.turning;
    Envelope& e = *envelope_;
    e.finish();
    Judged all;
    std::array<Judged, 4> by_pass;
    std::vector<PassKind> kinds;
    for (std::size_t c = 0; c < e.count(); ++c) {
        const double x = e.x_of(c);
        // A slot's edge may lie a rounding error beside a column: within a column of it both
        // the slot and its surroundings are right.
        const auto s = d.surface(x, e.step());
        if (!s)
            continue;
        all.see(e.height(c), *s, x);
        const std::uint16_t owner = e.owner(c);
        if (owner >= kinds.size()) {
            for (std::size_t k = kinds.size(); k <= owner; ++k)
                kinds.push_back(passes_.kind(static_cast<std::uint16_t>(k)));
        }
        by_pass[pass_index(kinds[owner])].see(e.height(c), *s, x);
    }
    report.overcut = all.overcut.deviation();
    report.left = all.left.deviation();
    for (const PassKind kind : {PassKind::rough, PassKind::fast_rough, PassKind::fine}) {
        const Judged& j = by_pass[pass_index(kind)];
        if (j.any)
            report.passes.push_back({kind, j.overcut.deviation(), j.left.deviation()});
    }
    for (const DesignSlot& s : d.slots()) {
        const auto [first, last] = e.columns(s.left, s.right);
        double deepest = -kInf;
        for (std::size_t c = first; c < last; ++c) {
            if (const auto p = d.profile(e.x_of(c)))
                deepest = std::max(deepest, e.height(c) - *p);
        }
        SlotCut cut;
        cut.expected = s;
        if (deepest > -kInf)
            cut.cut = DesignSlot{s.left, s.right, deepest};
        report.slots.push_back(cut);
    }
    const double sample = std::max(1 / d.resolution(), kCoarsestSample);
    const auto every =
        std::max<std::size_t>(1, static_cast<std::size_t>(std::llround(sample / e.step())));
    for (std::size_t c = 0; c < e.count(); c += every) {
        const auto s = d.surface(e.x_of(c));
        report.envelope.push_back(
            {e.x_of(c), e.height(c), s ? std::optional<double>(s->low) : std::nullopt});
    }
}

void CutCheck::judge_joint(CheckReport& report) {
    const JointDesign& j = *in_.joint;
    Envelope& e = *envelope_;
    e.finish();
    std::vector<DesignSlot> slots = j.slots;
    std::sort(slots.begin(), slots.end(),
              [](const DesignSlot& a, const DesignSlot& b) { return a.left < b.left; });
    const std::vector<double> reach = slot_reach(slots);
    Judged all;
    std::vector<DesignSlot> cuts;
    bool in_cut = false;
    for (std::size_t c = 0; c < e.count(); ++c) {
        const double x = e.x_of(c);
        const double h = e.height(c);
        all.see(h, slot_depths(slots, reach, x, e.step()), x);
        if (h > kCutDepth) {
            if (!in_cut)
                cuts.push_back({x, x, h});
            cuts.back().right = x;
            cuts.back().depth = std::max(cuts.back().depth, h);
        }
        in_cut = h > kCutDepth;
    }
    if (outside_.at_x)
        all.overcut.see(outside_.max_mm, *outside_.at_x);
    report.overcut = all.overcut.deviation();
    report.left = all.left.deviation();
    report.passes.push_back({PassKind::finger_joint, report.overcut, report.left});
    // Each cut against the first design slot it overlaps; design slots left without one. When
    // the design lists its slots by their left edges, as both designs do, a cut looks only at
    // the slots that can overlap it, so a million slots do not cost a million each.
    const std::size_t n = j.slots.size();
    std::vector<bool> matched(n, false);
    const bool ordered =
        std::is_sorted(j.slots.begin(), j.slots.end(),
                       [](const DesignSlot& a, const DesignSlot& b) { return a.left < b.left; });
    const std::vector<double> design_reach = ordered ? slot_reach(j.slots) : std::vector<double>{};
    std::size_t first_unmatched = 0;
    for (const DesignSlot& cut : cuts) {
        SlotCut sc;
        sc.cut = cut;
        while (first_unmatched < n && matched[first_unmatched])
            ++first_unmatched;
        std::size_t from = first_unmatched;
        if (ordered) {
            // The slots before the first that reaches the cut's left edge end short of it.
            const auto reaching =
                std::lower_bound(design_reach.begin(), design_reach.end(), cut.left);
            from = std::max(from, static_cast<std::size_t>(reaching - design_reach.begin()));
        }
        for (std::size_t k = from; k < n; ++k) {
            if (ordered && j.slots[k].left > cut.right)
                break;  // this slot and every later one start beyond the cut
            const double overlap =
                std::min(cut.right, j.slots[k].right) - std::max(cut.left, j.slots[k].left);
            if (!matched[k] && overlap >= 0) {
                sc.expected = j.slots[k];
                matched[k] = true;
                break;
            }
        }
        report.slots.push_back(sc);
    }
    for (std::size_t k = 0; k < j.slots.size(); ++k) {
        if (!matched[k])
            report.slots.push_back({std::nullopt, j.slots[k]});
    }
    std::sort(report.slots.begin(), report.slots.end(), [](const SlotCut& a, const SlotCut& b) {
        const double xa = a.cut ? a.cut->left : a.expected->left;
        const double xb = b.cut ? b.cut->left : b.expected->left;
        return xa < xb;
    });
    const auto every = std::max<std::size_t>(
        1, static_cast<std::size_t>(std::llround(kCoarsestSample / e.step())));
    for (std::size_t c = 0; c < e.count(); c += every)
        report.envelope.push_back(
            {e.x_of(c), e.height(c), slot_depths(slots, reach, e.x_of(c), 0).low});
}

ProgramKind CutCheck::guessed_kind() const {
    // The two headers store the home position and set incremental distances in opposite
    // orders; path-mode words, which an operator may add or drop, do not decide.
    if (const auto incremental_first = reader_.incremental_before_home())
        return *incremental_first ? ProgramKind::finger_joint : ProgramKind::turning;
    return reader_.exact_stop_header() ? ProgramKind::finger_joint : ProgramKind::turning;
}

CheckReport CutCheck::finish() {
    CheckReport report;
    report.lines = reader_.lines();
    report.moves = moves_;
    timer_.finish();
    report.run_time_s = timer_.seconds();
    report.time_model = time_model_text(timer_, in_.limits, reader_.letters());
    report.time_label = time_model_label(timer_, in_.limits);
    report.tolerance = in_.tolerance;
    report.interference = interference_;
    if (!kind_) {
        // A program without a move cuts nothing; its kind is still told by its header.
        report.kind = in_.kind.value_or(guessed_kind());
        return report;
    }
    report.kind = *kind_;
    if (!envelope_)
        return report;
    if (*kind_ == ProgramKind::turning)
        judge_turning(report);
    else
        judge_joint(report);
    return report;
}

CheckReport check_program_text(std::string_view program, CheckInputs inputs,
                               CheckObserver* observer) {
    CutCheck check(std::move(inputs), observer);
    for_each_line(program, [&](std::string_view line) { check.add_line(line); });
    return check.finish();
}

CheckReport check_program_file(const std::filesystem::path& file, CheckInputs inputs,
                               CheckObserver* observer, JobContext* context) {
    CutCheck check(std::move(inputs), observer);
    std::uint64_t size = 0;
    std::error_code ec;
    size = std::filesystem::file_size(file, ec);
    std::size_t lines = 0;
    for_each_line_of_file(file, max_program_file_size, "a G-code program", max_program_line,
                          [&](std::string_view line, std::uint64_t read) {
                              check.add_line(line);
                              if (context != nullptr && ++lines % kLinesPerPump == 0) {
                                  context->progress(static_cast<double>(read),
                                                    static_cast<double>(size));
                                  context->pump();
                                  if (context->cancelled())
                                      throw JobCancelled();
                              }
                          });
    return check.finish();
}

}  // namespace ostrivane
