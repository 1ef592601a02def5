#pragma once
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/app/field_source.h"
#include "core/app/operator.h"
#include "core/gcode/gcode_writer.h"
#include "core/gcode/line_writer.h"
#include "core/gcode/machine_settings.h"
#include "core/text/error.h"

namespace ostrivane {

// The two kinds of program; they differ in the order of the header lines and in whether the
// operator is told the file name before it is written.
enum class GcodeJob { finger_joint, turning };

// The header comment's first line.
inline constexpr std::string_view gcode_header_comment =
    "(GCODE created by Ostrivane, https://ostrivane.org)";

// The file name of a program with the base name `base_name` in the G-code folder setting. Gives
// the setting `GcodeFolder` its final separator (the field keeps it), and falls back to the
// Documents folder, telling the operator, when the setting names no existing folder. The
// Documents folder is created when it is missing (a folder named in the setting never is).
// Throws Error when it is not known or cannot be created.
std::string gcode_file_name(FieldSource& fields, Operator& op, std::string_view base_name,
                            const std::filesystem::path& documents_folder);

// A job stopped by its operator. Whatever it was writing has been removed, and the message says
// so: "<file> cancelled, no file written".
class JobCancelled : public Error {
  public:
    JobCancelled() : Error("Cancelled, no file written") {}
    explicit JobCancelled(const std::string& file)
        : Error(file + " cancelled, no file written"), file_(file) {}
    // The file that was not written; empty when the job had not named it yet.
    const std::string& file() const { return file_; }

  private:
    std::string file_;
};

// One G-code program being written: the writer the machine moves go to while a job runs.
// Opening creates the file and writes the header; close() writes the footer, closes the file
// and tells the operator. A job that stops on an error calls close_after_error(), which keeps
// the file as far as it was written and still names it, before the error goes on to the
// operator; a cancelled job calls discard(). Dropping an unclosed program closes the file
// silently. Every line also goes to `tap` when one is given (the window's summary counts there).
class GcodeProgram {
  public:
    // Writes `file` for a machine with the given settings. Throws Error when the file cannot
    // be created (no message is shown then).
    GcodeProgram(GcodeJob job, const MachineSettings& machine, Operator& op, std::string file,
                 LineWriter::Mode mode, LineSink* tap = nullptr);
    GcodeProgram(const GcodeProgram&) = delete;
    GcodeProgram& operator=(const GcodeProgram&) = delete;

    // The moves of the open program; throws std::logic_error once it is closed.
    GcodeWriter& moves();
    void steps(char stepper, double number_of_mm, bool fast_move) {
        moves().steps(stepper, number_of_mm, fast_move);
    }
    void steps_combined(const std::array<double, 3>& number_of_mm, bool fast_move) {
        moves().steps_combined(number_of_mm, fast_move);
    }

    // Footer (home Y, G28, M2), close, and the message "<file> is created.", unless the job
    // has failed: its file is finished all the same, and the job tells its failure itself.
    // Throws Error for a file that could not be written.
    void close();
    // The job failed: close() will not call its file created.
    void mark_failed() { failed_ = true; }
    // After an error: closes the file as written and shows "<file> is created."; a batch run's
    // file is discarded instead and nothing is shown. Never throws.
    void close_after_error() noexcept;
    // After a cancel: stops writing and removes the file, so nothing half-written is left.
    // Shows nothing. Never throws.
    void discard() noexcept;

    const std::string& file() const { return file_; }

  private:
    // The file's writer, and the tap when there is one.
    struct Tee final : LineSink {
        LineSink* file = nullptr;
        LineSink* tap = nullptr;
        void write_line(std::string_view line) override;
    };

    Operator& operator_;
    std::string file_;
    bool all_or_nothing_;
    bool failed_ = false;
    std::unique_ptr<LineWriter> chain_saw_;
    Tee out_;
    std::optional<GcodeWriter> writer_;
};

// A whole job, from the main window's fields: reads the machine settings (a bad one refuses
// the job before its file exists), settles the file (`destination`, else the G-code folder
// setting), opens the program, lets `body` write the moves, and closes it, keeping the error
// rule above. A body that throws JobCancelled leaves no file; JobCancelled naming the file then
// goes on to the caller. Returns the file name.
std::string write_gcode_program(GcodeJob job, FieldSource& fields, Operator& op,
                                std::string_view base_name, const OutputDestination& destination,
                                const std::function<void(GcodeProgram&)>& body,
                                LineSink* tap = nullptr);

}  // namespace ostrivane
