#include "core/toolpath/turning_job.h"

#include "core/gcode/gcode_program.h"

namespace ostrivane {
namespace {
constexpr Argb kTransparent = 0x00000000u;

// The host's context is the engine's only while the job runs.
class ContextInUse {
  public:
    ContextInUse(TGrad& engine, JobContext& context) : engine_(engine) {
        engine.set_context(&context);
    }
    ~ContextInUse() { engine_.set_context(nullptr); }
    ContextInUse(const ContextInUse&) = delete;
    ContextInUse& operator=(const ContextInUse&) = delete;

  private:
    TGrad& engine_;
};

}  // namespace

bool asks_fast_rough(const FieldSource& fields, const TGrad& engine) {
    return fields.checked("Roughing") &&
           (engine.TNDFile.empty() || !(fields.checked("UseTND") || fields.checked("doublet")));
}

TurningResult write_turning_job(TGrad& engine, FieldSource& fields, Operator& op,
                                const RecordedMoves& moves, const OutputDestination& destination,
                                JobContext& context) {
    // A blade without width never gets past the profile: the passes would not end.
    if (!(engine.mill_width > 0)) {
        op.information("Saw width (mm) must be greater than 0");
        return {std::nullopt, true};
    }
    if (!(engine.steps_mm_x >= 1)) {
        op.information("Spline samples/mm must be at least 1");
        return {std::nullopt, true};
    }
    bool UseFast = false;
    if (asks_fast_rough(fields, engine)) {
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
    if (engine.thebitmap != nullptr && engine.thebitmap->begin_scene()) {
        engine.thebitmap->clear(kTransparent);
        engine.thebitmap->end_scene();
    }
    bool failed = false;
    const std::string file = write_gcode_program(
        GcodeJob::turning, fields, op, fields.text("Smot_name"), destination,
        [&](GcodeProgram& program) {
            ContextInUse in_use(engine, context);
            GcodeMotion motion = program.motion();
            double lastX = 0;
            double lastY = 0;
            failed = engine.CalcSpline(motion, fields, UseFast, lastX, lastY);
            if (failed)
                return;
            for (int k = 1; k <= moves.Movecount && k <= RecordedMoves::kMaxMoves; ++k) {
                const MovePosition& to = moves.Movements[k];
                motion.steps('X', to.X - lastX, true);
                lastX = to.X;
                motion.steps('Y', to.Y - lastY, false);
                lastY = to.Y;
            }
        });
    return {file, failed};
}

}  // namespace ostrivane
