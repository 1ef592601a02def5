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
// The widest envelope column and the coarsest output sample, in mm.
constexpr double kFinestColumn = 0.002;
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
std::unique_ptr<Envelope> envelope_over(double begin, double end, double step, bool lowest,
                                        double floor) {
    const double span = std::max(0.0, end - begin);
    if (span / step + 1 > static_cast<double>(kMostEnvelopeColumns))
        step = span / static_cast<double>(kMostEnvelopeColumns - 1);
    const auto count = static_cast<std::size_t>(std::floor(span / step + 1e-9)) + 1;
    return std::make_unique<Envelope>(begin, step, count, floor, lowest);
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

// The slots of a report as they come, in order of x: every one while they are few; past that,
// those not cut as designed (the first few of them) and counts of the rest, so that a joint
// of millions of cuts keeps a report of a few lines.
class SlotTally {
  public:
    explicit SlotTally(double tolerance) : tolerance_(tolerance) {}
    void add(const SlotCut& s) {
        ++count_;
        const bool designed = as_designed(s);
        if (designed)
            ++designed_;
        if (all_.size() <= kMostListedSlots)
            all_.push_back(s);
        if (!designed && others_.size() < kMostListedSlots)
            others_.push_back(s);
    }
    void finish(CheckReport& report) {
        report.slot_count = count_;
        report.slots_as_designed = designed_;
        report.slots_summarised = count_ > kMostListedSlots;
        report.slots = report.slots_summarised ? std::move(others_) : std::move(all_);
    }

  private:
    bool as_designed(const SlotCut& s) const {
        return s.cut && s.expected && std::fabs(s.cut->left - s.expected->left) <= tolerance_ &&
               std::fabs(s.cut->right - s.expected->right) <= tolerance_ &&
               std::fabs(s.cut->depth - s.expected->depth) <= tolerance_;
    }
    double tolerance_;
    std::size_t count_ = 0;
    std::size_t designed_ = 0;
    std::vector<SlotCut> all_;
    std::vector<SlotCut> others_;
};

// The report's envelope is for a picture: a sample every `sample` mm, and so many at most that
// a joint metres long keeps a report of a few megabytes.
constexpr std::size_t kMostSamples = std::size_t{1} << 18;
std::size_t sample_every(const Envelope& e, double sample) {
    const auto every =
        std::max<std::size_t>(1, static_cast<std::size_t>(std::llround(sample / e.step())));
    return std::max(every, (e.count() + kMostSamples - 1) / kMostSamples);
}

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
        // Where no move reaches, nothing is cut: the columns start below everything.
        envelope_ = envelope_over(d.begin(), d.end(), column > 0 ? column : kFinestColumn,
                                  d.outline().count_saw_rec > 0, -kInf);
        envelope_->keep_edges();
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
    envelope_ = envelope_over(lo - margin, hi + margin, 0.001, false, 0.0);
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
        const TurningDesign& d = *in_.turning;
        const SawSweep sweep = saw_sweep(from[0], from[1], to[0], to[1], d.saw_width());
        if (section >= section_overcut_.size())
            section_overcut_.resize(std::size_t{section} + 1);
        for (int k = 0; k < sweep.count; ++k) {
            const SawPiece& p = sweep.pieces[k];
            envelope_->raise(p, section);
            if (p.to < d.begin() || p.from > d.end() || !(p.from <= p.to))
                continue;
            // The design is read on the curve over the piece's whole width, not at the
            // envelope's columns: a saw edge beside a steep flank stands where it stands.
            const DesignExcess e = d.excess(p.from, p.to, p.from, p.y_from, p.slope());
            if (e.mm > overcut_.mm)
                overcut_ = e;
            if (e.mm > section_overcut_[section].mm)
                section_overcut_[section] = e;
        }
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
    std::vector<PassKind> kinds;
    const auto kind_of = [&](std::uint16_t owner) {
        for (std::size_t k = kinds.size(); k <= owner; ++k)
            kinds.push_back(passes_.kind(static_cast<std::uint16_t>(k)));
        return kinds[owner];
    };
    // Overcut: what the moves themselves stood above the design.
    Judged all;
    std::array<Judged, 4> by_pass;
    all.overcut.see(overcut_.mm, overcut_.x);
    for (std::size_t section = 0; section < section_overcut_.size(); ++section) {
        const DesignExcess& o = section_overcut_[section];
        if (!std::isfinite(o.mm))
            continue;
        Judged& j = by_pass[pass_index(kind_of(static_cast<std::uint16_t>(section)))];
        j.overcut.see(o.mm, o.x);
        j.any = true;
    }
    // Material left: the design above the envelope, column by column.
    for (std::size_t c = 0; c < e.count(); ++c) {
        const double x = e.x_of(c);
        // A slot's edge may lie a rounding error beside a column: within a column of it both
        // the slot and its surroundings are right.
        const auto s = d.surface(x, e.step());
        if (!s)
            continue;
        const double h = e.height(c);
        if (h == -kInf) {
            // No move reached here: the saw never rose above its home.
            all.left.see(s->low, x);
            continue;
        }
        all.left.see(s->low - h, x);
        Judged& j = by_pass[pass_index(kind_of(e.owner(c)))];
        j.left.see(s->low - h, x);
        j.any = true;
    }
    // Beside a saw edge the envelope may step down: the material left there is the design at
    // the edge itself over the envelope on its lower side (the column before a rising edge, the
    // one after a falling edge), carried on to the edge along the slope of the two columns on
    // that side (level beside a plunge or a traverse, straight beside a slanted move).
    const auto left_at_edge = [&](double edge, std::size_t low_side, std::size_t beyond) {
        if (std::isnan(edge) || low_side >= e.count() || beyond >= e.count())
            return;
        const auto s = d.surface(edge, e.step());
        if (!s)
            return;
        double h = e.height(low_side);
        if (h != -kInf && e.height(beyond) != -kInf) {
            const double towards = (edge - e.x_of(low_side)) / (e.x_of(low_side) - e.x_of(beyond));
            h += (h - e.height(beyond)) * towards;
        }
        if (h == -kInf) {
            all.left.see(s->low, edge);
            return;
        }
        all.left.see(s->low - h, edge);
        by_pass[pass_index(kind_of(e.owner(low_side)))].left.see(s->low - h, edge);
    };
    for (std::size_t c = 0; c < e.count(); ++c) {
        if (c >= 1)
            left_at_edge(e.rising_edge(c), c, c - 1);
        left_at_edge(e.falling_edge(c), c + 1, c + 2);
    }
    report.overcut = all.overcut.deviation();
    report.left = all.left.deviation();
    for (const PassKind kind : {PassKind::rough, PassKind::fast_rough, PassKind::fine}) {
        const Judged& j = by_pass[pass_index(kind)];
        if (j.any)
            report.passes.push_back({kind, j.overcut.deviation(), j.left.deviation()});
    }
    SlotTally tally(report.tolerance);
    for (const DesignSlot& s : d.slots()) {
        const auto [first, last] = e.columns(s.left, s.right);
        double deepest = -kInf;
        for (std::size_t c = first; c < last; ++c) {
            if (e.height(c) == -kInf)
                continue;
            if (const auto p = d.profile(e.x_of(c)))
                deepest = std::max(deepest, e.height(c) - *p);
        }
        SlotCut cut;
        cut.expected = s;
        if (deepest > -kInf)
            cut.cut = DesignSlot{s.left, s.right, deepest};
        tally.add(cut);
    }
    tally.finish(report);
    const double sample = std::max(1 / d.resolution(), kCoarsestSample);
    const std::size_t every = sample_every(e, sample);
    for (std::size_t c = 0; c < e.count(); c += every) {
        const auto s = d.surface(e.x_of(c));
        const std::optional<double> design = s ? std::optional<double>(s->low) : std::nullopt;
        // Where no move reached, the picture shows the saw at its home, or on the design where
        // that lies below home (nothing was cut there).
        const double h = e.height(c) == -kInf ? std::min(0.0, design.value_or(0.0)) : e.height(c);
        report.envelope.push_back({e.x_of(c), h, design});
    }
}

void CutCheck::judge_joint(CheckReport& report) {
    const JointDesign& j = *in_.joint;
    Envelope& e = *envelope_;
    e.finish();
    const auto by_left = [](const DesignSlot& a, const DesignSlot& b) { return a.left < b.left; };
    // Both designs list their slots by their left edges; another order is sorted once.
    std::vector<DesignSlot> sorted_copy;
    const std::vector<DesignSlot>* sorted = &j.slots;
    if (!std::is_sorted(j.slots.begin(), j.slots.end(), by_left)) {
        sorted_copy = j.slots;
        std::sort(sorted_copy.begin(), sorted_copy.end(), by_left);
        sorted = &sorted_copy;
    }
    const std::vector<DesignSlot>& slots = *sorted;
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
    // Each cut against the first design slot it overlaps; design slots left without one. A cut
    // looks only at the slots that can overlap it (those from the first that reaches its left
    // edge), so a million slots do not cost a million each.
    const std::size_t n = slots.size();
    std::vector<bool> matched(n, false);
    std::vector<std::size_t> match_of(cuts.size(), n);
    std::size_t first_unmatched = 0;
    for (std::size_t k = 0; k < cuts.size(); ++k) {
        const DesignSlot& cut = cuts[k];
        while (first_unmatched < n && matched[first_unmatched])
            ++first_unmatched;
        const auto reaching = std::lower_bound(reach.begin(), reach.end(), cut.left);
        std::size_t from =
            std::max(first_unmatched, static_cast<std::size_t>(reaching - reach.begin()));
        for (std::size_t s = from; s < n && slots[s].left <= cut.right; ++s) {
            const double overlap =
                std::min(cut.right, slots[s].right) - std::max(cut.left, slots[s].left);
            if (!matched[s] && overlap >= 0) {
                matched[s] = true;
                match_of[k] = s;
                break;
            }
        }
    }
    // The cuts and the slots left without one, merged by their left edges.
    SlotTally tally(report.tolerance);
    std::size_t s = 0;
    for (std::size_t k = 0; k <= cuts.size(); ++k) {
        const double next = k < cuts.size() ? cuts[k].left : kInf;
        for (; s < n && (matched[s] || slots[s].left < next); ++s) {
            if (!matched[s])
                tally.add({std::nullopt, slots[s]});
        }
        if (k == cuts.size())
            break;
        SlotCut sc;
        sc.cut = cuts[k];
        if (match_of[k] < n)
            sc.expected = slots[match_of[k]];
        tally.add(sc);
    }
    tally.finish(report);
    const std::size_t every = sample_every(e, kCoarsestSample);
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
