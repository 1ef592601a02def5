#pragma once
#include <optional>
#include <string>

#include "core/app/field_source.h"
#include "core/app/operator.h"
#include "core/fingerjoint/fast_rec.h"
#include "core/gcode/line_writer.h"
#include "core/gcode/move.h"
#include "core/text/job_context.h"

namespace ostrivane {

// How a slot is cleared: `passes` passes side by side, `step` apart, the last one ending at
// the slot's far edge.
struct SlotPasses {
    double passes = 1;
    double step = 0;
};
SlotPasses slot_passes(const TfastRec& job);

// The body of the finger-joint program: to the start position, then every slot pass by pass,
// alternating up and down through the work, and ending below it. Every few thousand lines it
// reports progress in passes, lets the host pump its events, and throws JobCancelled once the
// operator has cancelled.
void write_finger_joint_passes(MoveSink& out, const TfastRec& job, JobContext& context);

// Far beyond any real joint (a program of some 40 million lines); more is refused.
inline constexpr double max_finger_joint_passes = 10'000'000;

// "Write GCODE file": reads the tab into `fast_record`, and when the job can be cut writes the
// whole program named after `mot_name`. Returns the file name, or nullopt when the parameters
// were refused (the operator has been told why). Throws Error for a field that is not a
// number, a joint of more passes than the limit above or bad settings (no file then), or a file
// that cannot be written; an error after the file was created leaves it as written and names
// it first (in place), or leaves no file (all or nothing). Throws JobCancelled, leaving no
// file, when `context` is cancelled. Every line written also goes to `tap` when one is given.
std::optional<std::string> write_motClick(FieldSource& fields, Operator& op, TfastRec& fast_record,
                                          const OutputDestination& destination, JobContext& context,
                                          LineSink* tap = nullptr);

}  // namespace ostrivane
