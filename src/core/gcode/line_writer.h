#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/gcode/line_sink.h"
#include "core/text/file_io.h"

namespace ostrivane {

// A text file for machine controllers, written line by line: every line in 7-bit ASCII ("?" for
// anything else) with CR LF. The lines stream through the program's one way of saving a file
// (AtomicFile): they go to a temporary file beside the target, so a program of any length is
// never held in memory, and the target is replaced only when the writer is done with it.
//
// How a job that stops half way ends:
// In place (the window): abandon() puts the file in place as far as it was written, which is
// what the operator is then told.
// Staged (batch runs): abandon() removes the temporary file; the target is untouched, so a failed
// job leaves nothing to mistake for a program.
// Either way discard() drops what was written and leaves the target as it was: for a job the
// operator cancelled.
class LineWriter final : public LineSink {
  public:
    enum class Mode { in_place, staged };

    // Throws Error naming the target when it cannot be written (see AtomicFile).
    LineWriter(std::filesystem::path target, Mode mode);
    ~LineWriter() override;
    LineWriter(const LineWriter&) = delete;
    LineWriter& operator=(const LineWriter&) = delete;

    void write_line(std::string_view line) override;

    // Flushes, closes and puts the file in place. Throws Error when the bytes could not all be
    // written or the file not be put in place; the target is then as it was.
    void commit();
    // Closes without throwing: in place, the file is kept as far as written; staged, it is
    // dropped.
    void abandon() noexcept;
    // Closes without throwing and drops what was written, in either mode.
    void discard() noexcept;

    const std::filesystem::path& target() const { return file_.file(); }
    bool open() const { return file_.is_open(); }

  private:
    AtomicFile file_;
    Mode mode_;
    std::string line_;  // reused, so a long program allocates once
};

// Where a job's output file goes.
struct OutputDestination {
    // The user's Documents folder: the folder of tooth files, and of G-code programs when the
    // G-code folder setting is empty or names no folder.
    std::filesystem::path documents_folder;
    // Write exactly this file instead; the folder settings are then neither used nor changed.
    std::optional<std::filesystem::path> exact_file = std::nullopt;
    // Write the file only once all of it was made (a batch run, staged); otherwise it is kept as
    // far as it got when the job stops on an error (in place).
    bool all_or_nothing = false;

    LineWriter::Mode mode() const {
        return all_or_nothing ? LineWriter::Mode::staged : LineWriter::Mode::in_place;
    }
};

}  // namespace ostrivane
