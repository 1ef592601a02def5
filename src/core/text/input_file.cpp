#include "core/text/input_file.h"

#include <algorithm>
#include <cerrno>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "core/text/error.h"
#include "core/text/file_io.h"

namespace ostrivane {
namespace fs = std::filesystem;
namespace {

[[noreturn]] void refuse(std::string_view prefix, const fs::path& file, std::string_view cause) {
    throw Error(std::string(prefix) + " " + file.string() + ": " + std::string(cause));
}

[[noreturn]] void refuse_type(const fs::path& file, fs::file_type type) {
    refuse("Cannot read file", file, std::string(not_a_file_reason(type)) + ".");
}

#if defined(__unix__) || defined(__APPLE__)
fs::file_type type_of(mode_t mode) {
    if (S_ISREG(mode))
        return fs::file_type::regular;
    if (S_ISDIR(mode))
        return fs::file_type::directory;
    if (S_ISCHR(mode))
        return fs::file_type::character;
    if (S_ISBLK(mode))
        return fs::file_type::block;
    if (S_ISFIFO(mode))
        return fs::file_type::fifo;
    if (S_ISSOCK(mode))
        return fs::file_type::socket;
    return fs::file_type::unknown;
}
#endif

}  // namespace

std::string_view not_a_file_reason(fs::file_type type) {
    switch (type) {
        case fs::file_type::regular:
            return {};
        case fs::file_type::directory:
            return "it is a folder, not a file";
        case fs::file_type::block:
        case fs::file_type::character:
            return "it is a device, not a regular file";
        case fs::file_type::fifo:
            return "it is a pipe (fifo), not a regular file";
        case fs::file_type::socket:
            return "it is a socket, not a regular file";
        default:
            return "it is not a regular file";
    }
}

InputFile::InputFile(fs::path path, std::uint64_t max_bytes, std::string_view what)
    : path_(std::move(path)), max_bytes_(max_bytes), what_(what) {
    // Looked at before it is opened: opening a device can do things of its own (a tape rewinds)
    // and opening a pipe waits for a writer.
    std::error_code ec;
    const fs::file_status st = fs::status(path_, ec);
    if (ec)
        refuse("Cannot open file", path_, ec.message());
    if (st.type() != fs::file_type::regular)
        refuse_type(path_, st.type());
    const std::uintmax_t size = fs::file_size(path_, ec);
    if (!ec && size > max_bytes_)
        too_long();
#if defined(__unix__) || defined(__APPLE__)
    // Without blocking, and looked at again once open: what is opened may no longer be what was
    // looked at.
    do {
        fd_ = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    } while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0)
        refuse("Cannot open file", path_, system_message(errno));
    struct stat opened {};
    if (::fstat(fd_, &opened) != 0) {
        const int err = errno;
        ::close(fd_);
        refuse("Cannot open file", path_, system_message(err));
    }
    if (!S_ISREG(opened.st_mode)) {
        ::close(fd_);
        refuse_type(path_, type_of(opened.st_mode));
    }
    if (static_cast<std::uint64_t>(opened.st_size) > max_bytes_) {
        ::close(fd_);
        too_long();
    }
    if (const int flags = ::fcntl(fd_, F_GETFL); flags >= 0)
        ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK);
#else
    errno = 0;
    in_.open(path_, std::ios::binary);
    if (!in_)
        refuse("Cannot open file", path_, system_message(errno));
#endif
}

InputFile::~InputFile() {
#if defined(__unix__) || defined(__APPLE__)
    if (fd_ >= 0)
        ::close(fd_);
#endif
}

void InputFile::too_long() const {
    refuse("Cannot read file", path_,
           "it is longer than " + std::to_string(max_bytes_) + " bytes, the most " + what_ +
               " may hold.");
}

std::size_t InputFile::read(char* data, std::size_t size) {
    // Never more than one byte past the limit: enough to know the file has grown beyond it.
    const std::uint64_t room = max_bytes_ - std::min(taken_, max_bytes_) + 1;
    const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(size, room));
    std::size_t got = 0;
#if defined(__unix__) || defined(__APPLE__)
    ssize_t n = 0;
    do {
        n = ::read(fd_, data, want);
    } while (n < 0 && errno == EINTR);
    if (n < 0)
        refuse("Cannot read file", path_, system_message(errno));
    got = static_cast<std::size_t>(n);
#else
    errno = 0;
    in_.read(data, static_cast<std::streamsize>(want));
    got = static_cast<std::size_t>(in_.gcount());
    if (in_.bad())
        refuse("Cannot read file", path_, system_message(errno));
#endif
    taken_ += got;
    if (taken_ > max_bytes_)
        too_long();
    return got;
}

}  // namespace ostrivane
