#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/app/field_source.h"
#include "core/app/operator.h"
#include "core/check/check_design.h"
#include "core/check/cut_check.h"
#include "core/check/machine_limits.h"
#include "core/gcode/machine_settings.h"
#include "core/text/job_context.h"
#include "core/toolpath/main_log.h"
#include "core/toolpath/tgrad.h"

namespace ostrivane {

// The profile a turning program was cut from, as the window holds it.
struct TurningSource {
    std::string spline_bytes;  // a spline file: the profile and its second spline
    double turn_axis = 100;
    double beam_thickness = 100;
    std::string tooth_file;  // the tooth file chosen for turning jobs; empty for none
};

// Hands the job's fields, turn axis and beam thickness to the engine that holds the design, the
// tooth file with them when the tab cuts its slots (UseTND or doublet, and a file given).
// Returns whether it does.
bool set_turning_check_job(TGrad& engine, const FieldSource& fields, double turn_axis,
                           double beam_thickness, const std::string& tooth_file);

// The tooth file's slots in the turned profile when `use_tooth`, else none. Throws Error for a
// tooth file that cannot be read.
std::vector<DesignSlot> turning_check_slots(TGrad& engine, bool use_tooth,
                                            const std::string& tooth_file);

// check_program_file with every error but a cancel naming the program.
CheckReport check_named_program(const std::filesystem::path& program, const CheckInputs& inputs,
                                CheckObserver* observer = nullptr, JobContext* context = nullptr);

// What the host knows beside the fields: the machine's limits (its LinuxCNC configuration),
// and the kind of program when it wrote the program itself.
struct JobCheckOptions {
    MachineLimits limits = default_machine_limits();
    std::optional<ProgramKind> kind;
};

// A check with what is needed to draw the saw over it: its width and, for a finger joint, where
// the face lies along Y (the report's heights are depths into it).
struct JobCheck {
    CheckReport report;
    double saw_width = 0;
    double face_y = 0;
};

// Checks a program against the job the main window's fields describe: a turning program
// against `turning`'s profile, deepened by the tooth file's slots when the tab cuts them; a
// finger-joint program against the slots of the finger-joint fields. Timed with the limits of
// `options`, whose kind, when given, is taken instead of the header's. `context` and
// `observer` may be null. Throws Error for a program, profile or
// tooth file that cannot be read, and JobCancelled once `context` is cancelled.
JobCheck check_job_program(const std::filesystem::path& program, const FieldSource& fields,
                           const TurningSource& turning, const std::filesystem::path& data_folder,
                           Operator& op, JobContext* context = nullptr,
                           CheckObserver* observer = nullptr, const JobCheckOptions& options = {});

// Checks the program a job has just written and tells the operator without being asked: the
// run time and verdict go to `log` (critical when the program cuts into the design) and are
// returned for a status line; a program that cuts into the design or meets the beam is also
// shown in a message box, as a warning that must not slip by. What keeps the check from
// finishing (an unreadable line, a cancel) is logged and returned, never thrown: the program
// stays written whatever the check finds.
std::string announce_job_check(const std::filesystem::path& program, const FieldSource& fields,
                               const TurningSource& turning,
                               const std::filesystem::path& data_folder, Operator& op,
                               const MainLog& log, JobContext* context = nullptr,
                               const JobCheckOptions& options = {});

}  // namespace ostrivane
