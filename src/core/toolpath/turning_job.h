#pragma once
#include <optional>
#include <string>

#include "core/app/field_source.h"
#include "core/app/operator.h"
#include "core/curve/recorded_moves.h"
#include "core/gcode/line_writer.h"
#include "core/text/job_context.h"
#include "core/toolpath/tgrad.h"

namespace ostrivane {

// The question of the fast rough routine, exactly as the operator sees it.
inline constexpr const char* kFastRoughQuestion =
    "Would you like to use fast rough routine (resulting in smaller gcode file)? Beware in that "
    "case for fine milling jamming";

// What a turning job came to: the program written (none when the job was refused or the
// question cancelled) and whether a step of the calculation failed.
struct TurningResult {
    std::optional<std::string> file;
    bool failed = false;
};

// The main window's fields a turning program needs beside the engine's job record, read once
// when the job starts.
struct TurningJobSettings {
    bool roughing = false;   // "Roughing"
    bool use_tooth = false;  // "UseTND" or "doublet": the tooth file's slots are cut
    std::string program_name;

    static TurningJobSettings read(const FieldSource& fields);
};

// The largest repetition and run counts a turning job takes, and the working range of its
// heights (mm) and of the dwell between plunges (ms).
inline constexpr std::int32_t kMaxTurningCount = 1000;
inline constexpr double kWorkingRange = 100000;

// What is wrong with the turning tab's counts, heights and dwell, in a sentence for the
// operator; nullopt when they can be cut. Throws the field's Error for a field that is no
// number.
std::optional<std::string> turning_job_out_of_range(const FieldSource& fields);

// Opening a turning job with "Use a second spline" on: tells the operator that the second
// spline needs a tooth file, or logs how to switch to it when one is chosen.
void announce_second_spline(const TsplineRec& rec, const std::string& tooth_file, Operator& op,
                            const MainLog& log);

// Whether the job asks about the fast rough routine: only for a rough task that cuts no slots.
bool asks_fast_rough(const TurningJobSettings& settings, const TGrad& engine);

// "Calculate for milling": reads the fields it needs, asks about the fast rough routine when it
// applies, clears the picture of `view` (may be null), writes the turning program named after
// Smot_name (header, the calculation's passes, the recorded moves when nothing failed, footer)
// and names it, showing the saws to `view` as it goes.
// A job that cannot be cut (a saw width of 0 or less, fewer than one sample per mm) is refused
// before a file exists, with the reason told to the operator. A failed step leaves the program
// as far as it got, closed with its footer, and is told as an error naming what failed (the
// file is then not called created). A job that reaches no move at all is a failure too. Throws
// Error for a bad setting or an unreadable tooth file, the file then handled as `destination` says
// (a bad machine setting before the file exists), and JobCancelled, leaving no file, once `context`
// is cancelled.
TurningResult write_turning_job(TGrad& engine, FieldSource& fields, Operator& op,
                                const RecordedMoves& moves, const OutputDestination& destination,
                                JobContext& context, TurningView* view = nullptr);

}  // namespace ostrivane
