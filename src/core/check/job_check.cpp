#include "core/check/job_check.h"

#include <optional>
#include <utility>
#include <vector>

#include "core/check/check_design.h"
#include "core/check/check_report.h"
#include "core/curve/profile_load.h"
#include "core/curve/recorded_moves.h"
#include "core/fingerjoint/fast_rec.h"
#include "core/gcode/gcode_program.h"
#include "core/gcode/machine_settings.h"
#include "core/text/error.h"
#include "core/text/file_io.h"
#include "core/text/message_sink.h"
#include "core/toolpath/spline_rec.h"
#include "core/toolpath/tgrad.h"
#include "core/toolpath/tooth_reader.h"

namespace ostrivane {
namespace fs = std::filesystem;

namespace {
Error named(const fs::path& program, const Error& e) {
    return Error(program.string() + ": " + e.what());
}
}  // namespace

bool set_turning_check_job(TGrad& engine, const FieldSource& fields, double turn_axis,
                           double beam_thickness, const std::string& tooth_file) {
    const TsplineRec rec = read_job_settings(fields);
    const bool use_tooth =
        !tooth_file.empty() && (fields.checked("UseTND") || fields.checked("doublet"));
    engine.set_data(
        turning_parameters(rec, turn_axis, beam_thickness, use_tooth ? tooth_file : std::string()));
    return use_tooth;
}

std::vector<DesignSlot> turning_check_slots(TGrad& engine, bool use_tooth,
                                            const std::string& tooth_file) {
    if (!use_tooth)
        return {};
    return turning_slots(
        engine, read_file_limited(tooth_file, ToothFile::kMaxBytes, "a tooth file"), tooth_file);
}

CheckReport check_named_program(const fs::path& program, const CheckInputs& inputs,
                                CheckObserver* observer, JobContext* context) {
    try {
        return check_program_file(program, inputs, observer, context);
    } catch (const JobCancelled&) {
        throw;
    } catch (const Error& e) {
        throw named(program, e);
    }
}

JobCheck check_job_program(const fs::path& program, const FieldSource& fields,
                           const TurningSource& turning, const fs::path& data_folder, Operator& op,
                           JobContext* context, CheckObserver* observer,
                           const JobCheckOptions& options) {
    JobCheck check;
    CheckInputs inputs;
    inputs.settings = read_machine_settings(fields);
    inputs.limits = options.limits;
    inputs.kind = options.kind;

    // The design is built from its own engine (the editor's stays as the operator left it),
    // once the program's kind is known.
    SilentSink notices;
    std::optional<Profile> drawing;
    std::optional<TGrad> engine;
    std::optional<TurningDesign> turning_design;
    std::optional<JointDesign> joint_design;
    inputs.design_for = [&](ProgramKind kind, CheckInputs& in) {
        if (kind == ProgramKind::turning) {
            drawing.emplace(notices);
            engine.emplace(*drawing, notices, data_folder);
            const bool use_tooth = set_turning_check_job(
                *engine, fields, turning.turn_axis, turning.beam_thickness, turning.tooth_file);
            load_profile(turning.spline_bytes, *drawing, notices);
            std::vector<DesignSlot> slots =
                turning_check_slots(*engine, use_tooth, turning.tooth_file);
            // Without a profile the program is only timed.
            check.saw_width = engine->profile.mill_width;
            if (engine->profile.Nopoints >= 2) {
                turning_design.emplace(*engine, std::move(slots));
                in.turning = &*turning_design;
            }
        } else {
            TfastRec rec;
            if (Getdata(fields, op, rec)) {
                joint_design = joint_design_of_fields(rec);
                in.joint = &*joint_design;
                check.saw_width = joint_design->saw_width;
                check.face_y = joint_design->face_y;
            }
        }
    };
    check.report = check_named_program(program, inputs, observer, context);
    return check;
}

std::string announce_job_check(const fs::path& program, const FieldSource& fields,
                               const TurningSource& turning, const fs::path& data_folder,
                               Operator& op, const MainLog& log, JobContext* context,
                               const JobCheckOptions& options) {
    const std::string name = program.filename().string();
    std::string text;
    bool warning = false;
    try {
        const CheckReport report =
            check_job_program(program, fields, turning, data_folder, op, context, nullptr, options)
                .report;
        text = "Check of " + name + ": " + check_verdict(report);
        warning = report.cuts_into_design();
    } catch (const JobCancelled&) {
        text = "Check of " + name + " cancelled";
    } catch (const Error& e) {
        text = "Check of " + name + " failed: " + e.what();
    }
    if (log)
        log(text, warning);
    if (warning)
        op.show_error(text);
    return text;
}

}  // namespace ostrivane
