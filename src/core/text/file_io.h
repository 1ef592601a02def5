#pragma once
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

namespace ostrivane {

// Reads a whole file as bytes; nullopt when it cannot be opened or read. Meant for files the
// program made itself; a file from outside goes through read_file_limited.
std::optional<std::string> read_file(const std::filesystem::path& path);

// Reads a whole file from outside the program, which may be anything: only a regular file of
// at most `max_bytes` bytes is read. A folder, device or pipe is refused without being opened,
// and a longer file without being read past the limit, so that /dev/zero or a fifo cannot hold
// the program. `what` names the kind of file in the message ("a state file"). Throws Error with
// a sentence naming the file and the cause.
std::string read_file_limited(const std::filesystem::path& path, std::uint64_t max_bytes,
                              std::string_view what);

// The one way the program saves a file: the bytes go to a temporary file beside the real
// target, which replaces the target only in commit(). Until then the old file is untouched, and
// a writer dropped or discarded before commit() leaves it as it was. Writing is streamed, so a
// program of any length never has to be held in memory.
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

    // Buffered; a failure is remembered and reported by commit().
    void write(std::string_view bytes);
    // Flushes, closes and puts the new file in place. Throws Error; the old file is then intact
    // and the temporary file removed.
    void commit();
    // Removes the temporary file; the target stays as it was. Never throws.
    void discard() noexcept;

    bool is_open() const { return out_.is_open(); }
    // The file as the user named it.
    const std::filesystem::path& file() const { return file_; }

  private:
    std::filesystem::path file_;
    std::filesystem::path target_;  // after following symbolic links
    std::filesystem::path temp_;
    std::ofstream out_;
    int write_errno_ = 0;  // the cause of the first failed write
};

// Saves bytes through an AtomicFile. Throws Error naming the file on failure.
void write_file_atomically(const std::filesystem::path& path, std::string_view bytes);

// The system's text for an errno value, for messages that name a file and say why.
std::string system_message(int err);

}  // namespace ostrivane
