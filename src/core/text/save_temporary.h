#pragma once
#include <cstddef>
#include <filesystem>

#if !(defined(__unix__) || defined(__APPLE__))
#include <fstream>
#endif

namespace ostrivane {

// The new bytes of a file being saved, in a temporary file of this save's own beside the target
// (in its folder, so that it can replace the target in one step). Two saves of one target never
// share a temporary file, so each either lands whole or fails by itself.
//
// On Linux the temporary file has no name until it is put in place: a save cut short, even by
// kill -9, leaves nothing behind. Where the system or the file system cannot make such a file,
// it gets a unique name "TARGET.PID-RANDOM.saving"; names of that form that a process no longer
// running left behind are removed by the next save of the same target.
//
// Every call returns 0 or the system's error number; nothing throws. The caller words the
// message.
class SaveTemporary {
  public:
    enum class Kind {
        best,   // unnamed where the system can, else named
        named,  // named in any case
    };

    SaveTemporary() = default;
    ~SaveTemporary();
    SaveTemporary(const SaveTemporary&) = delete;
    SaveTemporary& operator=(const SaveTemporary&) = delete;

    // Makes the temporary file for `target` (symbolic links already followed), empty and with
    // the permissions a new file gets.
    int open(const std::filesystem::path& target, Kind kind = Kind::best);
    bool is_open() const;
    // The temporary file's name; empty while it has none.
    const std::filesystem::path& name() const { return name_; }

    int set_permissions(std::filesystem::perms perms);
    // Writes all the bytes (unbuffered: the caller buffers).
    int write(const char* data, std::size_t size);
    // Flushes the bytes to the disk, closes the file and puts it in place of `target` in one
    // step, then flushes the folder, so that a reported save survives a power cut. On failure
    // before the rename nothing is left and the target is as it was; a failed flush of the
    // folder afterwards is reported although the new file is in place.
    int replace(const std::filesystem::path& target);
    // Closes and removes the temporary file. Never fails.
    void discard() noexcept;

  private:
    std::filesystem::path name_;
#if defined(__unix__) || defined(__APPLE__)
    int fd_ = -1;
#else
    std::ofstream out_;
#endif
};

// Removes the named temporary files of `target` (symbolic links already followed) that saves
// cut short left behind: those whose process is no longer running and that no process holds.
// A file of the old single name "TARGET.saving" is removed too. Anything else, and anything
// that is not a regular file, is left alone.
void remove_abandoned_temporaries(const std::filesystem::path& target) noexcept;

}  // namespace ostrivane
