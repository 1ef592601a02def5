#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/text/save_temporary.h"

namespace ostrivane {

// Reads a whole file the program made itself as bytes; nullopt when it cannot be opened or read.
// Only a regular file of at most own_file_limit bytes is read, so that a pipe or device put in
// its place cannot hold the program either. A file from outside goes through read_file_limited.
std::optional<std::string> read_file(const std::filesystem::path& path);
inline constexpr std::uint64_t own_file_limit = std::uint64_t{256} << 20;

// Reads a whole file from outside the program, which may be anything, through InputFile: only a
// regular file of at most `max_bytes` bytes is read; anything else is refused without being
// read. `what` names the kind of file in the message ("a state file"). Throws Error with a
// sentence naming the file and the cause.
std::string read_file_limited(const std::filesystem::path& path, std::uint64_t max_bytes,
                              std::string_view what);

// As read_file_limited, but nullopt when nothing is there (or a link points to nothing), for
// files that are optional. Anything there that cannot be read throws.
std::optional<std::string> read_file_if_exists(const std::filesystem::path& path,
                                               std::uint64_t max_bytes, std::string_view what);

// The one way the program saves a file: the bytes go to a temporary file of this save's own
// beside the real target (SaveTemporary), which replaces the target only in commit(). Until then
// the old file is untouched, and a writer dropped or discarded before commit() leaves it as it
// was; saves of one target at the same time each land whole or fail, and a save cut short
// leaves no temporary file behind. Writing is streamed, so a program of any length never has to
// be held in memory.
//
// What the user named is respected: a symbolic link is written through (the file it points to
// is replaced, the link stays), the target's permission bits are kept, and a target that is not
// a regular file (a folder, a device, a pipe) or is read-only is refused before anything is
// written. Every error names the file the user gave and says why.
class AtomicFile {
  public:
    // Checks the target and creates the temporary file. Throws Error.
    explicit AtomicFile(std::filesystem::path file);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Buffered; a failure is remembered and reported by commit(). Programs are written in
    // millions of short lines, so a piece that fits costs one comparison and one copy.
    void write(std::string_view bytes) {
        if (bytes.size() <= room_) {
            next_ = std::copy(bytes.begin(), bytes.end(), next_);
            room_ -= bytes.size();
            return;
        }
        write_beyond_buffer(bytes);
    }
    // Flushes, closes and puts the new file in place. Throws Error; the old file is then intact
    // and the temporary file removed.
    void commit();
    // Removes the temporary file; the target stays as it was. Never throws.
    void discard() noexcept;

    bool is_open() const { return temp_.is_open(); }
    // The file as the user named it.
    const std::filesystem::path& file() const { return file_; }

  private:
    void write_beyond_buffer(std::string_view bytes);
    // Writes the buffered bytes to temp_; false (and nothing more to be written) after a failure.
    bool flush_buffer();
    // No more bytes are taken: the file failed or is closed.
    void stop_buffering();

    std::filesystem::path file_;
    std::filesystem::path target_;  // after following symbolic links
    SaveTemporary temp_;
    // Bytes not yet written to temp_: buffer_ up to next_, with room_ bytes free after it. No
    // room is left once writing failed or the file is closed, so every write then takes the
    // slow path, which drops it.
    std::unique_ptr<char[]> buffer_;
    char* next_ = nullptr;
    std::size_t room_ = 0;
    int write_errno_ = 0;  // the cause of the first failed write; later ones are not tried
};

// Saves bytes through an AtomicFile. Throws Error naming the file on failure.
void write_file_atomically(const std::filesystem::path& path, std::string_view bytes);

// The system's text for an errno value, for messages that name a file and say why.
std::string system_message(int err);

}  // namespace ostrivane
