#include "core/toolpath/turning_job.h"

#include <cmath>
#include <string>

#include "core/gcode/gcode_program.h"
#include "core/text/number_format.h"

namespace ostrivane {
namespace {

// The host's context and view are the engine's only while the job runs.
class ContextInUse {
  public:
    ContextInUse(TGrad& engine, JobContext& context, TurningView* view) : engine_(engine) {
        engine.set_context(&context);
        engine.set_view(view);
    }
    ~ContextInUse() {
        engine_.set_context(nullptr);
        engine_.set_view(nullptr);
    }
    ContextInUse(const ContextInUse&) = delete;
    ContextInUse& operator=(const ContextInUse&) = delete;

  private:
    TGrad& engine_;
};

}  // namespace

std::optional<std::string> turning_job_out_of_range(const FieldSource& fields) {
    // Counts: a negative one would wrap round to 65,535 repetitions of the work.
    for (const char* field : {"repeater", "runsdepth", "runsheight"}) {
        const std::int32_t count = validate_integer(fields, field);
        if (count < 0 || count > kMaxTurningCount) {
            return fields.label(field) + " must be between 0 and " +
                   std::to_string(kMaxTurningCount) + ", not " + fields.text(field) + ".";
        }
    }
    // Lengths and the dwell: beyond the working range they would be written as words of
    // hundreds of digits that no controller reads.
    for (const char* field : {"Sjobheight", "PositionZ", "delaystep"}) {
        const double value = validate_float(fields, field);
        if (!(std::fabs(value) <= kWorkingRange)) {
            return fields.label(field) + " must lie between -" + format_general(kWorkingRange) +
                   " and " + format_general(kWorkingRange) + ", not " + fields.text(field) + ".";
        }
    }
    return std::nullopt;
}

TurningJobSettings TurningJobSettings::read(const FieldSource& fields) {
    TurningJobSettings s;
    s.roughing = fields.checked("Roughing");
    s.use_tooth = fields.checked("UseTND") || fields.checked("doublet");
    s.program_name = fields.text("Smot_name");
    return s;
}

void announce_second_spline(const TsplineRec& rec, const std::string& tooth_file, Operator& op,
                            const MainLog& log) {
    if (!rec.ssDoublet)
        return;
    if (tooth_file.empty()) {
        op.information("You did not specify a TND file,\rSecond spline has not use this way");
    } else if (log) {
        log("You did specify a TND file and thus you can work on a second spline,\rPress ALT A "
            "to switch between the splines.",
            false);
    }
}

bool asks_fast_rough(const TurningJobSettings& settings, const TGrad& engine) {
    return settings.roughing && (engine.job.TNDFile.empty() || !settings.use_tooth);
}

TurningResult write_turning_job(TGrad& engine, FieldSource& fields, Operator& op,
                                const RecordedMoves& moves, const OutputDestination& destination,
                                JobContext& context, TurningView* view) {
    const TurningJobSettings settings = TurningJobSettings::read(fields);
    if (const auto problem = turning_job_out_of_range(fields)) {
        op.information(*problem);
        return {std::nullopt, true};
    }
    // A blade without width never gets past the profile: the passes would not end.
    if (!(engine.profile.mill_width > 0)) {
        op.information("Saw width (mm) must be greater than 0");
        return {std::nullopt, true};
    }
    if (!(engine.profile.steps_mm_x >= 1)) {
        op.information("Spline samples/mm must be at least 1");
        return {std::nullopt, true};
    }
    bool UseFast = false;
    if (asks_fast_rough(settings, engine)) {
        switch (op.ask_yes_no_cancel(kFastRoughQuestion)) {
            case Operator::Answer::Cancel:
                return {};
            case Operator::Answer::Yes:
                UseFast = true;
                break;
            case Operator::Answer::No:
                break;
        }
    }
    if (view != nullptr)
        view->begin_job();
    bool failed = false;
    bool moved = false;
    const std::string file = write_gcode_program(
        GcodeJob::turning, fields, op, settings.program_name, destination,
        [&](GcodeProgram& program) {
            ContextInUse in_use(engine, context, view);
            MoveStream head(program.moves());
            failed = ostrivane::failed(engine.CalcSpline(head, UseFast, settings.use_tooth));
            if (!failed) {
                head.begin(PassKind::recorded);
                for (int k = 1; k <= moves.Movecount && k <= RecordedMoves::kMaxMoves; ++k) {
                    const MovePosition& to = moves.Movements[k];
                    head.to(Axis::X, to.X, true);
                    head.to(Axis::Y, to.Y, false);
                }
            }
            moved = head.moves_sent() > 0;
            // A failed job is no created program: it is told as the failure it is, below.
            if (failed || !moved)
                program.mark_failed();
        });
    // A header and footer alone look like a program to the operator and the controller: a job
    // that never moved the saw has failed, whatever the calculation said.
    const std::string left =
        moved ? file + " holds the program only as far as it got: do not cut with it."
              : file + " holds only its header and footer.";
    if (failed) {
        const std::string& reason = engine.failure_reason;
        op.show_error((reason.empty() ? std::string("The calculation failed.") : reason) + "\r" +
                      left);
    } else if (!moved) {
        op.show_error("The job has no move to cut: " + left);
        failed = true;
    }
    return {file, failed};
}

}  // namespace ostrivane
