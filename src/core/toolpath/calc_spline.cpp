#include <cmath>
#include <cstdint>

#include "core/gcode/gcode_program.h"
#include "core/text/error.h"
#include "core/text/file_io.h"
#include "core/toolpath/tgrad.h"

namespace ostrivane {
namespace {
// A real profile stays far inside these; beyond them the passes could not end (or could not
// tell one position from the next) and a damaged spline file is the only way there.
constexpr double kMaxSamples = 1e9;
constexpr double kMaxSawPositions = 1e7;
constexpr double kMachineReach = 1e6;
}  // namespace

bool TGrad::job_too_long(bool UseFast) {
    const double span = XmaxX - XminX;
    const bool samples = !UseFast || !TNDFile.empty() || zoet;
    const bool fits = std::fabs(XminX) <= kMachineReach && std::fabs(XmaxX) <= kMachineReach &&
                      span / mill_width <= kMaxSawPositions &&
                      (!samples || span * steps_mm_x <= kMaxSamples);
    if (!fits)
        notify("The profile is too long to sample at this resolution");
    return !fits;
}

bool TGrad::CalcSpline(GcodeMotion& motion, const FieldSource& fields, bool UseFast, double& lastX,
                       double& lastY) {
    failure = false;
    plunge_limit_logged_ = false;
    progress_runs_ = 0;
    merged_slots.clear();
    lastX = 0;
    lastY = 0;
    if (Nopoints < 2) {
        // Nothing to turn; the recorded moves are left out as after any failed calculation.
        notify("The spline does not contain any points");
        failure = true;
        return failure;
    }
    if (!(mill_width > 0)) {
        notify("Saw width (mm) must be greater than 0");
        failure = true;
        return failure;
    }
    if (job_too_long(UseFast)) {
        failure = true;
        return failure;
    }
    // The fast pass needs neither turning points nor saw positions, unless slots are merged.
    if (!UseFast || !TNDFile.empty()) {
        notify("Calculating gradients");
        failure = Calcgradients(context_);
        if (context_ != nullptr && context_->cancelled())
            throw JobCancelled();
        draw_gradients();
        notify("Calculating saw positions on gradients");
        if (!failure)
            placesaws();
    }

    teethcounter = 1;
    noteeth = 0;
    if (!TNDFile.empty() && (fields.checked("UseTND") || fields.checked("doublet"))) {
        toth = std::make_unique<ToothFile>(
            read_file_limited(TNDFile, ToothFile::kMaxBytes, "a tooth file"), TNDFile);
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

    const int repetitions = static_cast<std::uint16_t>(repeater);
    progress_run_ = 0;
    progress_runs_ = repetitions * ((rough ? NoRuns : 0) +
                                    (zoet ? static_cast<std::uint16_t>(Heightdivisor) : 0));
    for (int k = 1; k <= repetitions; ++k) {
        if (rough && !UseFast && !failure)
            roughpass(motion, lastX);
        else if (rough && UseFast && !failure)
            fastroughpass(motion, lastX);
        if (zoet && !failure)
            failure = finepass(motion, lastX, lastY);
        // The next copy of the profile starts where this one ends.
        if ((zoet || rough) && repeater > 1.025) {
            motion.steps('X', XmaxX - lastX, false);
            lastX = 0;
            motion.steps('C', 0, false);
        }
    }
    return failure;
}

}  // namespace ostrivane
