#pragma once
#include <optional>
#include <string>

#include "core/app/field_source.h"
#include "core/app/operator.h"
#include "core/fingerjoint/fast_rec.h"
#include "core/gcode/line_sink.h"
#include "core/gcode/line_writer.h"
#include "core/text/job_context.h"

namespace ostrivane {

// A tooth file lists the slots of a finger joint along X for the turning job: the number of
// slots, then per slot its left edge, right edge and depth, each as a 23-character real. The
// positions are those of the finger-joint program, from the position it starts at. Every few
// thousand lines it reports progress in slots, lets the host pump its events, and throws
// JobCancelled once the operator has cancelled.
void write_tooth_lines(LineSink& out, const TfastRec& job, JobContext& context);

// Refuses a joint whose edges or depths overflow or are undefined, which a tooth file cannot
// hold as numbers: throws Error naming the first such value, e.g. "Cannot write an infinite
// right edge for slot 1.".
void check_tooth_values(const TfastRec& job);

// "write .tnd file": reads the tab into `fast_record` and, when the job can be cut, writes the
// tooth file <Documents>/<mot_name>.tnd (the G-code folder setting is not used; the Documents
// folder is created when it is missing), then tells the operator "<file> written". Returns the
// file name, or nullopt when the parameters were refused. Throws Error for a field that is not
// a number, more slots than max_finger_joint_passes, values check_tooth_values refuses (all
// before the file is created), or a file that cannot be written; throws JobCancelled, leaving
// no file, when `context` is cancelled.
std::optional<std::string> write_tndClick(const FieldSource& fields, Operator& op,
                                          TfastRec& fast_record,
                                          const OutputDestination& destination,
                                          JobContext& context);

}  // namespace ostrivane
