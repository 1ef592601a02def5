#include "core/fingerjoint/finger_joint_program.h"

#include <cmath>

#include "core/gcode/gcode_program.h"
#include "core/gcode/move_stream.h"
#include "core/text/error.h"
#include "core/text/number_format.h"

namespace ostrivane {
namespace {

// A slot whose blade count exceeds a whole number by no more than this gets no extra pass for
// the crumb: the last pass then takes that sliver with the others.
constexpr double pass_tolerance = 0.001;

// How often a long job looks up from its work: some 4,000 lines, well under a millisecond.
constexpr double passes_per_pump = 1024;

// The five basic motions of a pass.
class Saw {
  public:
    Saw(MoveStream& head, const TfastRec& job) : head_(head), job_(job) {}
    void fward(double depth) { head_.by(Axis::Y, depth + job_.job_distance, false); }
    void back(double depth) { head_.by(Axis::Y, -depth - job_.job_distance, true); }
    void up() { head_.by(Axis::Z, job_.job_height, false); }
    void down() { head_.by(Axis::Z, -job_.job_height, false); }
    void right(double mm_right) { head_.by(Axis::X, mm_right, true); }

  private:
    MoveStream& head_;
    const TfastRec& job_;
};

}  // namespace

SlotPasses slot_passes(const TfastRec& job) {
    const double c = (job.width_of_cut - job.width_of_saw) / job.width_of_saw;
    // The smallest whole number not below c - tolerance; never below 0, since the blade may be
    // up to the width tolerance wider than the slot.
    double n = std::ceil(c - pass_tolerance);
    if (n < 0)
        n = 0;
    return {n + 1, n > 0 ? (job.width_of_cut - job.width_of_saw) / n : 0.0};
}

void write_finger_joint_passes(MoveSink& out, const TfastRec& job, JobContext& context) {
    MoveStream head(out);
    head.begin(PassKind::finger_joint, 1);
    head.by(Axis::X, job.start_positionX, true);
    head.by(Axis::Y, job.start_positionY, true);
    head.by(Axis::Z, -job.start_positionZ, true);

    Saw saw(head, job);
    const SlotPasses slot = slot_passes(job);
    const double total = job.number_of_cuts * slot.passes;
    double done = 0;
    double next_look = passes_per_pump;
    // The direction carries on from slot to slot, so no pass is spent on returning.
    bool going_up = true;
    for (double k = 1; k <= job.number_of_cuts; ++k) {
        for (double p = 0; p < slot.passes; ++p) {
            if (done == next_look) {
                next_look += passes_per_pump;
                context.progress(done, total);
                context.pump();
                if (context.cancelled())
                    throw JobCancelled();
            }
            ++done;
            saw.fward(job.depth_cut);
            going_up ? saw.up() : saw.down();
            saw.back(job.depth_cut);
            going_up = !going_up;
            if (p + 1 < slot.passes)
                saw.right(slot.step);
        }
        saw.right(k == job.number_of_cuts ? job.width_of_saw : job.width_of_saw + job.width_of_pin);
    }
    // Finish below the work, where the first pass started.
    if (!going_up)
        saw.down();
}

std::optional<std::string> write_motClick(FieldSource& fields, Operator& op, TfastRec& fast_record,
                                          const OutputDestination& destination, JobContext& context,
                                          LineSink* tap) {
    if (!Getdata(fields, op, fast_record))
        return std::nullopt;
    const TfastRec job = fast_record;
    // Widths far out of proportion (from a typing slip or a damaged program file) would make
    // the job write for hours and fill the disk; refuse them before the file is created.
    const double passes = job.number_of_cuts * slot_passes(job).passes;
    if (!(passes <= max_finger_joint_passes)) {
        throw Error("The finger joint needs " + format_general(passes) +
                    " saw passes; a program can hold at most " +
                    format_general(max_finger_joint_passes) + ".");
    }
    return write_gcode_program(
        GcodeJob::finger_joint, fields, op, fields.text("mot_name"), destination,
        [&](GcodeProgram& program) { write_finger_joint_passes(program.moves(), job, context); },
        tap);
}

}  // namespace ostrivane
