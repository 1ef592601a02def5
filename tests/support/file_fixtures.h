#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace ostrivane::test {

// Fixture files are made and read with the standard library directly, never with the code
// under test.
void write_bytes(const std::filesystem::path& file, std::string_view bytes);
std::string read_bytes(const std::filesystem::path& file);

// The permission bits of a file (links followed).
std::filesystem::perms perms_of(const std::filesystem::path& file);

// The names in a folder, sorted.
std::string folder_listing(const std::filesystem::path& folder);

// A named pipe; false where the system cannot make one.
bool make_fifo(const std::filesystem::path& file);
// A character device that works like /dev/null, so that a test never risks the real one;
// false where this process may not make devices.
bool make_null_device(const std::filesystem::path& file);

// Puts in turn each thing that may stand in a file's place to hold a reader or fill its memory
// at `file` (replacing what is there): a pipe without a writer, a link to the endless /dev/zero,
// and a sparse file longer than `limit` (at least 1 GiB) that takes no room on the disk. For each
// it calls `check` with the kind's name and the message a reader limited to `limit` bytes of
// `what` ("a spline file") must give. Kinds this system cannot make are passed over.
void for_each_hostile_file(
    const std::filesystem::path& file, std::uint64_t limit, std::string_view what,
    const std::function<void(std::string_view kind, const std::string& message)>& check);

// True when the tests run with the rights of the system's administrator, who may read and
// write whatever the permission bits say.
bool running_as_root();

// Limits the size of files this process may write while it lives, as a full disk does: a write
// past the limit fails (EFBIG) instead of stopping the process.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(std::uintmax_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool active() const { return active_; }

  private:
    bool active_ = false;
    unsigned long long old_soft_ = 0;
};

}  // namespace ostrivane::test
