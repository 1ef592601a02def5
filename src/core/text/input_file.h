#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#if !(defined(__unix__) || defined(__APPLE__))
#include <fstream>
#endif

namespace ostrivane {

// Why a file of this type cannot be read or written as a file, or empty for a regular file.
// A clause without its full stop, to stand at a sentence's end or in brackets.
std::string_view not_a_file_reason(std::filesystem::file_type type);

// A file from outside the program opened for reading, which may be anything: only a regular
// file of at most `max_bytes` bytes is opened. A folder, device or pipe is refused without being
// opened, so that a fifo cannot hold the program waiting for a writer, nor /dev/zero fill its
// memory; a longer file is refused by its size before a byte is read, so that a huge sparse file
// costs nothing. Should the file be swapped for something else between the check and the
// opening, the opened file is checked again, and a file that grows while it is read is never
// read past the limit.
//
// Every error names the file and says why, in one sentence: "Cannot open file F: No such file
// or directory", "Cannot read file F: it is a pipe (fifo), not a regular file.", "Cannot read
// file F: it is longer than N bytes, the most `what` may hold." (`what` names the kind of file,
// "a spline file").
class InputFile {
  public:
    // Throws Error.
    InputFile(std::filesystem::path path, std::uint64_t max_bytes, std::string_view what);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Reads up to `size` bytes into `data` and returns how many; 0 at the end of the file.
    // Throws Error when the system fails to read or the file has grown past the limit.
    std::size_t read(char* data, std::size_t size);

    const std::filesystem::path& path() const { return path_; }

  private:
    [[noreturn]] void too_long() const;

    std::filesystem::path path_;
    std::uint64_t max_bytes_;
    std::string what_;
    std::uint64_t taken_ = 0;  // bytes read so far
#if defined(__unix__) || defined(__APPLE__)
    int fd_ = -1;
#else
    std::ifstream in_;
#endif
};

}  // namespace ostrivane
