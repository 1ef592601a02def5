#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ostrivane::cli {

// Where --output sends a job's file: exactly the file named, or standard output for "-" (or
// /dev/stdout: a controller's filter program or a pipe reads it there). For standard output the
// job writes to a file in a private temporary folder first, so the bytes are the ones a file
// would get and a job that fails puts nothing on standard output; deliver() then copies it out.
// The folder goes when the target does, and also when the process is ended by SIGTERM, SIGINT
// or SIGHUP meanwhile. Messages keep to standard error and name "standard output" instead of
// the temporary file.
class OutputTarget {
  public:
    // `output` is the value of --output, if it was given.
    explicit OutputTarget(std::optional<std::string> output);
    ~OutputTarget();
    OutputTarget(const OutputTarget&) = delete;
    OutputTarget& operator=(const OutputTarget&) = delete;

    bool given() const { return file_.has_value(); }
    bool to_standard_output() const { return !staging_folder_.empty(); }
    // The file the job writes; nullopt without --output.
    const std::optional<std::filesystem::path>& file() const { return file_; }
    // A message as the operator reads it.
    std::string shown(std::string_view message) const;
    // Copies the finished file to standard output, when that is the target and the job wrote
    // it. A reader that stops reading ends the copy quietly. Throws Error when
    // standard output cannot take it.
    void deliver() const;

  private:
    std::optional<std::filesystem::path> file_;
    std::filesystem::path staging_folder_;
};

// Whether an output file name means standard output: "-", or the system's own names for it.
bool names_standard_output(std::string_view name);

// Writes `bytes` to standard output, all of them. Returns false when the reader has gone (a
// pipe closed early, as `| head` does): there is nobody left to tell, so that is no error.
// Throws Error for any other failure.
bool write_standard_output(std::string_view bytes);

// Writes a file made in memory where the operator named it: to standard output for a name
// names_standard_output() accepts, else saved atomically under that name. Throws Error.
void write_output(const std::string& name, std::string_view bytes);

}  // namespace ostrivane::cli
