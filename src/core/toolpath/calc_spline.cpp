#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/gcode/gcode_program.h"
#include "core/text/error.h"
#include "core/text/file_io.h"
#include "core/text/number_format.h"
#include "core/toolpath/tgrad.h"

namespace ostrivane {
namespace {
// A real profile stays far inside these; beyond them the passes could not end (or could not
// tell one position from the next) and a damaged spline file is the only way there.
constexpr double kMaxSamples = 1e9;
constexpr double kMaxSawPositions = 1e7;
constexpr double kMachineReach = 1e6;

// Passes a curve's notices on while it lives, keeping the last: the reason a search of the
// curve gave up, told by the curve itself.
class LastNotice final : public MessageSink {
  public:
    explicit LastNotice(BetaSpline& curve) : curve_(curve), next_(curve.notices()) {
        curve.set_notices(*this);
    }
    ~LastNotice() override { curve_.set_notices(next_); }
    LastNotice(const LastNotice&) = delete;
    LastNotice& operator=(const LastNotice&) = delete;
    using MessageSink::notice;
    void notice(const std::string& text, std::uint32_t colour, bool critical) override {
        last = text;
        next_.notice(text, colour, critical);
    }
    std::string last;

  private:
    BetaSpline& curve_;
    MessageSink& next_;
};
}  // namespace

void TGrad::warn_of_undercuts() {
    const std::vector<XRange>& back = lowest_point_.doubling_back(profile);
    if (back.empty())
        return;
    XRange all = back.front();
    for (const XRange& r : back) {
        all.from = std::min(all.from, r.from);
        all.to = std::max(all.to, r.to);
    }
    notify("The profile doubles back between X = " + format_fixed(all.from, 2) +
               " and X = " + format_fixed(all.to, 2) + " mm: no saw can turn that undercut.",
           true);
}

bool TGrad::job_too_long(bool UseFast) {
    const double span = profile.XmaxX - profile.XminX;
    const bool samples = !UseFast || !job.TNDFile.empty() || job.zoet;
    const bool reach =
        std::fabs(profile.XminX) <= kMachineReach && std::fabs(profile.XmaxX) <= kMachineReach;
    if (reach && !(span / profile.mill_width <= kMaxSawPositions)) {
        // The profile is fine; the blade is what no job could step along it.
        fail("A saw width of " + format_general(profile.mill_width) +
             " mm is too narrow to turn a " + format_general(span) + " mm profile");
        return true;
    }
    const bool fits = reach && (!samples || span * profile.steps_mm_x <= kMaxSamples);
    if (!fits)
        fail("The profile is too long to sample at this resolution");
    return !fits;
}

Outcome TGrad::CalcSpline(MoveStream& head, bool UseFast, bool UseTooth) {
    failure = false;
    failure_reason.clear();
    plunge_limit_logged_ = false;
    progress_runs_ = 0;
    merged_slots.clear();
    if (profile.Nopoints < 2) {
        // Nothing to turn; the recorded moves are left out as after any failed calculation.
        fail("The spline does not contain any points");
        return Outcome::failed;
    }
    if (!(profile.mill_width > 0)) {
        fail("Saw width (mm) must be greater than 0");
        return Outcome::failed;
    }
    if (job_too_long(UseFast))
        return Outcome::failed;
    warn_of_undercuts();
    // The fast pass needs neither turning points nor saw positions, unless slots are merged.
    if (!UseFast || !job.TNDFile.empty()) {
        notify("Calculating gradients");
        LastNotice told(profile);
        failure = ostrivane::failed(profile.Calcgradients(context_));
        if (failure)
            failure_reason = told.last;
        if (context_ != nullptr && context_->cancelled())
            throw JobCancelled();
        if (view_ != nullptr)
            view_->turning_points_found();
        notify("Calculating saw positions on gradients");
        if (!failure)
            placesaws();
    }

    teethcounter = 1;
    noteeth = 0;
    if (!job.TNDFile.empty() && UseTooth) {
        toth = std::make_unique<ToothFile>(
            read_file_limited(job.TNDFile, ToothFile::kMaxBytes, "a tooth file"), job.TNDFile);
    }
    // The tooth file is closed however the merge ends.
    struct CloseTooth {
        std::unique_ptr<ToothFile>& file;
        ~CloseTooth() { file.reset(); }
    } close_tooth{toth};
    if (toth)
        noteeth = toth->read_count();
    if (!failure)
        calctooth();
    toth.reset();

    const int repetitions = static_cast<std::uint16_t>(job.repeater);
    progress_run_ = 0;
    progress_runs_ = repetitions * ((job.rough ? job.NoRuns : 0) +
                                    (job.zoet ? static_cast<std::uint16_t>(job.Heightdivisor) : 0));
    for (int k = 1; k <= repetitions; ++k) {
        if (job.rough && !UseFast && !failure)
            failure = ostrivane::failed(roughpass(head));
        else if (job.rough && UseFast && !failure)
            failure = ostrivane::failed(fastroughpass(head));
        if (job.zoet && !failure)
            failure = ostrivane::failed(finepass(head));
        // The next copy of the profile starts where this one ends.
        if ((job.zoet || job.rough) && job.repeater > 1.025) {
            head.begin(PassKind::repeat, static_cast<std::uint16_t>(k));
            head.to(Axis::X, profile.XmaxX, false);
            head.restart_x();
            head.home(Axis::Z, false);
        }
    }
    return failure ? Outcome::failed : Outcome::done;
}

}  // namespace ostrivane
