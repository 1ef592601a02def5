#pragma once
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/app/field_source.h"
#include "core/app/operator.h"
#include "core/gcode/line_writer.h"
#include "core/gcode/motion.h"

namespace ostrivane {

// The two kinds of program; they differ in the order of the header lines and in whether the
// operator is told the file name before it is written.
enum class GcodeJob { finger_joint, turning };

// The header comment's first line.
inline constexpr std::string_view gcode_header_comment =
    "(GCODE created by Ostrivane, https://ostrivane.org)";

// The file name of a program with the base name `base_name` in the G-code folder setting. Gives
// the setting `GcodeFolder` its final separator (the field keeps it), and falls back to the
// Documents folder, telling the operator, when the setting names no existing folder.
std::string gcode_file_name(FieldSource& fields, Operator& op, std::string_view base_name,
                            const std::filesystem::path& documents_folder);

// One G-code program being written: the writer the machine moves go to while a job runs.
// Opening creates the file and writes the header; close() writes the footer, closes the file
// and tells the operator. A job that stops on an error calls close_after_error(), which keeps
// the file as far as it was written and still names it, before the error goes on to the
// operator. Dropping an unclosed program closes the file silently.
class GcodeProgram {
  public:
    // Throws Error when the file cannot be created (no message is shown then).
    GcodeProgram(GcodeJob job, FieldSource& fields, Operator& op, std::string_view base_name,
                 const OutputDestination& destination);
    GcodeProgram(const GcodeProgram&) = delete;
    GcodeProgram& operator=(const GcodeProgram&) = delete;

    void steps(char stepper, double number_of_mm, bool fast_move) {
        motion().steps(stepper, number_of_mm, fast_move);
    }
    void steps_combined(const std::array<double, 3>& number_of_mm, bool fast_move) {
        motion().steps_combined(number_of_mm, fast_move);
    }
    // The moves of the open program; throws std::logic_error once it is closed.
    GcodeMotion motion();

    // Footer (home Y, G28, M2), close, and the message "<file> is created.". Throws Error for
    // bad settings in the footer or a file that could not be written.
    void close();
    // After an error: closes the file as written and shows "<file> is created."; a batch run's
    // file is discarded instead and nothing is shown. Never throws.
    void close_after_error() noexcept;

    const std::string& file() const { return file_; }

  private:
    FieldSource& fields_;
    Operator& operator_;
    std::string file_;
    bool all_or_nothing_;
    std::unique_ptr<LineWriter> chain_saw_;
};

// A whole job: opens the program, lets `body` write the moves, and closes it, keeping the error
// rule above. Returns the file name.
std::string write_gcode_program(GcodeJob job, FieldSource& fields, Operator& op,
                                std::string_view base_name, const OutputDestination& destination,
                                const std::function<void(GcodeProgram&)>& body);

}  // namespace ostrivane
