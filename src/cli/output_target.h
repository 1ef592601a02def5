#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ostrivane::cli {

// Where --output sends a job's file: exactly the file named, or standard output for "-" (a
// controller's filter program or a pipe reads it there). For standard output the job writes to
// a file in a private temporary folder first, so the bytes are the ones a file would get and a
// job that fails puts nothing on standard output; deliver() then copies it out. Messages keep
// to standard error and name "standard output" instead of the temporary file.
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
    // it. Throws Error when standard output cannot take it.
    void deliver() const;

  private:
    std::optional<std::filesystem::path> file_;
    std::filesystem::path staging_folder_;
};

// Writes `bytes` to standard output, all of them; throws Error when it cannot.
void write_standard_output(std::string_view bytes);

}  // namespace ostrivane::cli
