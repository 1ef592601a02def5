#include "core/check/job_check.h"

#include <optional>
#include <utility>
#include <vector>

#include "core/check/check_design.h"
#include "core/check/check_report.h"
#include "core/curve/recorded_moves.h"
#include "core/curve/spline_file.h"
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

JobCheck check_job_program(const fs::path& program, const FieldSource& fields,
                           const TurningSource& turning, const fs::path& data_folder, Operator& op,
                           JobContext* context, CheckObserver* observer) {
    JobCheck check;
    CheckInputs inputs;
    inputs.settings = read_machine_settings(fields);
    const auto named = [&](const Error& e) { return Error(program.string() + ": " + e.what()); };
    ProgramKind kind;
    try {
        kind = program_kind_of_file(program, inputs.settings);
    } catch (const Error& e) {
        throw named(e);
    }

    // The design is built from its own engine: the editor's stays as the operator left it.
    SilentSink notices;
    std::optional<Profile> drawing;
    std::optional<TGrad> engine;
    std::optional<TurningDesign> turning_design;
    std::optional<JointDesign> joint_design;
    if (kind == ProgramKind::turning) {
        drawing.emplace(notices);
        engine.emplace(*drawing, notices, data_folder);
        const TsplineRec rec = read_job_settings(fields);
        const bool use_tooth =
            !turning.tooth_file.empty() && (fields.checked("UseTND") || fields.checked("doublet"));
        engine->set_data(rec, turning.turn_axis, turning.beam_thickness,
                         use_tooth ? turning.tooth_file : std::string());
        RecordedMoves moves;
        read_spline_file(turning.spline_bytes, drawing->spline1, drawing->spline2, moves, notices,
                         1000);
        std::vector<DesignSlot> slots;
        if (use_tooth) {
            slots = turning_slots(
                *engine,
                read_file_limited(turning.tooth_file, ToothFile::kMaxBytes, "a tooth file"),
                turning.tooth_file);
        }
        // Without a profile the program is only timed.
        check.saw_width = engine->profile.mill_width;
        if (engine->profile.Nopoints >= 2) {
            turning_design.emplace(*engine, std::move(slots));
            inputs.turning = &*turning_design;
        }
    } else {
        TfastRec rec;
        if (Getdata(fields, op, rec)) {
            joint_design = joint_design_of_fields(rec);
            inputs.joint = &*joint_design;
            check.saw_width = joint_design->saw_width;
            check.face_y = joint_design->face_y;
        }
    }
    try {
        check.report = check_program_file(program, inputs, observer, context);
        return check;
    } catch (const JobCancelled&) {
        throw;
    } catch (const Error& e) {
        throw named(e);
    }
}

std::string announce_job_check(const fs::path& program, const FieldSource& fields,
                               const TurningSource& turning, const fs::path& data_folder,
                               Operator& op, const MainLog& log, JobContext* context) {
    const std::string name = program.filename().string();
    std::string text;
    bool warning = false;
    try {
        const CheckReport report =
            check_job_program(program, fields, turning, data_folder, op, context).report;
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
