#pragma once
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

#include "core/gcode/line_sink.h"

namespace ostrivane {

// A text file for machine controllers, written line by line: every line in 7-bit ASCII ("?" for
// anything else) with CR LF.
//
// In place: the file is created (or emptied) at once and written where it stands; if the job
// stops half way, whatever was written stays, which is what the operator is told.
// Staged: the lines go to a temporary file beside the target, which replaces the target only
// in commit(); if the writer is dropped before that, the temporary file is removed and the
// target is untouched. Batch runs use this so a failed job leaves no file behind.
class LineWriter final : public LineSink {
  public:
    enum class Mode { in_place, staged };

    // Throws Error naming the target when the file cannot be created.
    LineWriter(std::filesystem::path target, Mode mode);
    ~LineWriter() override;
    LineWriter(const LineWriter&) = delete;
    LineWriter& operator=(const LineWriter&) = delete;

    void write_line(std::string_view line) override;

    // Flushes and closes; a staged file then replaces the target. Throws Error when the bytes
    // could not all be written or the file not be put in place.
    void commit();
    // Closes without throwing: an in-place file keeps what was written, a staged one is removed.
    void abandon() noexcept;

    const std::filesystem::path& target() const { return target_; }
    bool open() const { return out_.is_open(); }

  private:
    std::filesystem::path target_;
    std::filesystem::path written_;  // the target itself, or the temporary file when staged
    Mode mode_;
    std::ofstream out_;
    std::string line_;  // reused, so a long program allocates once
};

// Where a job's output file goes.
struct OutputDestination {
    // The user's Documents folder: the folder of tooth files, and of G-code programs when the
    // G-code folder setting is empty or names no folder.
    std::filesystem::path documents_folder;
    // Write exactly this file instead; the folder settings are then neither used nor changed.
    std::optional<std::filesystem::path> exact_file = std::nullopt;
    // Write the file only once all of it was made (a batch run, staged); otherwise it is written
    // as the job goes and kept as far as it got when the job stops on an error (in place).
    bool all_or_nothing = false;

    LineWriter::Mode mode() const {
        return all_or_nothing ? LineWriter::Mode::staged : LineWriter::Mode::in_place;
    }
};

}  // namespace ostrivane
