#include "core/text/save_temporary.h"

#include <cerrno>
#include <charconv>
#include <chrono>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#define OSTRIVANE_POSIX_FILES 1
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#elif defined(_WIN32)
#include <process.h>
#endif

namespace ostrivane {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kSuffix = ".saving";
// Names are drawn at random; a clash only means drawing again.
constexpr int kNameTries = 100;

long process_id() {
#if defined(OSTRIVANE_POSIX_FILES)
    return static_cast<long>(::getpid());
#elif defined(_WIN32)
    return static_cast<long>(::_getpid());
#else
    return 0;
#endif
}

// "TARGET.PID-RANDOM.saving", in the target's folder.
fs::path unique_name(const fs::path& target) {
    std::random_device device;
    const auto ticks = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    const unsigned long long random =
        ((static_cast<unsigned long long>(device()) << 32) ^ device()) ^
        (ticks * 0x9E3779B97F4A7C15ull);
    char hex[17] = {};
    std::to_chars(hex, hex + 16, random, 16);
    fs::path name = target;
    name += "." + std::to_string(process_id()) + "-" + hex + std::string(kSuffix);
    return name;
}

// The process that made a temporary file of this target, or nullopt when `file` is not one.
// The old single name gives 0.
std::optional<long> owner_of(std::string_view file, std::string_view target) {
    if (file.size() < target.size() + kSuffix.size() || !file.starts_with(target) ||
        !file.ends_with(kSuffix)) {
        return std::nullopt;
    }
    if (file.size() == target.size() + kSuffix.size())
        return 0;
    std::string_view middle = file.substr(target.size());
    middle.remove_suffix(kSuffix.size());
    if (!middle.starts_with('.'))
        return std::nullopt;
    middle.remove_prefix(1);
    const std::size_t dash = middle.find('-');
    if (dash == std::string_view::npos || dash == 0 || dash + 1 == middle.size())
        return std::nullopt;
    long pid = 0;
    const auto [end, ec] = std::from_chars(middle.data(), middle.data() + dash, pid);
    if (ec != std::errc() || end != middle.data() + dash || pid <= 0)
        return std::nullopt;
    for (const char c : middle.substr(dash + 1)) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return std::nullopt;
    }
    return pid;
}

#if defined(OSTRIVANE_POSIX_FILES)
// True when the file's maker is gone and no process holds the file: the maker holds a lock on it
// while it lives, which also covers a maker on another machine sharing the folder.
bool abandoned(const fs::path& file, long pid) {
    if (pid == process_id())
        return false;
    if (pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH))
        return false;
    const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    bool free = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (free && ::flock(fd, LOCK_EX | LOCK_NB) != 0)
        free = errno != EWOULDBLOCK;  // a file system without locks leaves the process's word
    ::close(fd);
    return free;
}

int write_all(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return EIO;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return 0;
}

// Waits until the file's bytes are on the disk, so a power cut after a reported save cannot
// leave an empty or half-written file behind.
int sync_checked(int fd) {
    int result = 0;
    do {
        result = ::fsync(fd);
    } while (result != 0 && errno == EINTR);
    return result == 0 ? 0 : errno;
}

// Makes the new name in `folder` durable. File systems that cannot sync a folder say so with
// EINVAL; there the rename is as safe as it gets.
int sync_folder(const fs::path& folder) {
    const fs::path path = folder.empty() ? fs::path(".") : folder;
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int err = sync_checked(fd);
    ::close(fd);
    return err == EINVAL || err == ENOTSUP ? 0 : err;
}

int close_checked(int& fd) {
    const int result = ::close(fd);
    fd = -1;
    // After EINTR the descriptor is gone on Linux; the data went with it or an error would say.
    return result != 0 && errno != EINTR ? errno : 0;
}

#ifdef __linux__
// The name under which the system shows this process's open file `fd`.
std::string proc_fd_name(int fd) {
    return "/proc/self/fd/" + std::to_string(fd);
}

// An unnamed file in `folder`; -1 with errno set when it cannot be made, or when it could not
// later be given a name (no /proc).
int open_unnamed(const fs::path& folder) {
    int fd = -1;
    do {
        fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd >= 0 && ::access(proc_fd_name(fd).c_str(), F_OK) != 0) {
        ::close(fd);
        errno = EOPNOTSUPP;
        return -1;
    }
    return fd;
}

// The file system (or an old kernel) has no unnamed files; any other error is the folder's.
bool unnamed_unsupported(int err) {
    return err == EOPNOTSUPP || err == ENOTSUP || err == EISDIR || err == EINVAL;
}
#endif
#endif  // OSTRIVANE_POSIX_FILES

}  // namespace

SaveTemporary::~SaveTemporary() {
    discard();
}

#if defined(OSTRIVANE_POSIX_FILES)

bool SaveTemporary::is_open() const {
    return fd_ >= 0;
}

int SaveTemporary::open(const fs::path& target, Kind kind) {
    discard();
#ifdef __linux__
    if (kind == Kind::best) {
        const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
        fd_ = open_unnamed(folder);
        if (fd_ >= 0)
            return 0;
        if (!unnamed_unsupported(errno))
            return errno;
    }
#else
    (void)kind;
#endif
    for (int i = 0; i < kNameTries; ++i) {
        fs::path name = unique_name(target);
        do {
            fd_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        } while (fd_ < 0 && errno == EINTR);
        if (fd_ >= 0) {
            name_ = std::move(name);
            // Held while this process lives: a later save then knows the file is in use.
            ::flock(fd_, LOCK_EX | LOCK_NB);
            return 0;
        }
        if (errno != EEXIST)
            return errno;
    }
    return EEXIST;
}

int SaveTemporary::set_permissions(fs::perms perms) {
    return ::fchmod(fd_, static_cast<mode_t>(perms)) == 0 ? 0 : errno;
}

int SaveTemporary::write(const char* data, std::size_t size) {
    return write_all(fd_, data, size);
}

int SaveTemporary::replace(const fs::path& target) {
    if (fd_ < 0)
        return EBADF;
    if (const int err = sync_checked(fd_); err != 0) {
        discard();
        return err;
    }
#ifdef __linux__
    if (name_.empty()) {
        // A name of its own first: linking cannot replace a file, renaming can.
        const std::string proc = proc_fd_name(fd_);
        for (int i = 0; i < kNameTries && name_.empty(); ++i) {
            fs::path name = unique_name(target);
            if (::linkat(AT_FDCWD, proc.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
                name_ = std::move(name);
            else if (errno != EEXIST)
                break;
        }
        if (name_.empty()) {
            const int err = errno;
            discard();
            return err;
        }
    }
#endif
    if (const int err = close_checked(fd_); err != 0) {
        discard();
        return err;
    }
    if (::rename(name_.c_str(), target.c_str()) != 0) {
        const int err = errno;
        discard();
        return err;
    }
    name_.clear();
    // The file is in place; success is reported only once its new name is on the disk too.
    return sync_folder(target.parent_path());
}

void SaveTemporary::discard() noexcept {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!name_.empty()) {
        ::unlink(name_.c_str());
        name_.clear();
    }
}

#else  // portable: a uniquely named file through the standard library

bool SaveTemporary::is_open() const {
    return out_.is_open();
}

int SaveTemporary::open(const fs::path& target, Kind) {
    discard();
    for (int i = 0; i < kNameTries; ++i) {
        fs::path name = unique_name(target);
        std::error_code ec;
        if (fs::exists(fs::symlink_status(name, ec)))
            continue;
        errno = 0;
        out_.open(name, std::ios::binary | std::ios::trunc);
        if (!out_.is_open())
            return errno != 0 ? errno : EIO;
        name_ = std::move(name);
        return 0;
    }
    return EEXIST;
}

int SaveTemporary::set_permissions(fs::perms perms) {
    std::error_code ec;
    fs::permissions(name_, perms, ec);
    return ec.value();
}

int SaveTemporary::write(const char* data, std::size_t size) {
    errno = 0;
    out_.write(data, static_cast<std::streamsize>(size));
    return out_ ? 0 : (errno != 0 ? errno : EIO);
}

int SaveTemporary::replace(const fs::path& target) {
    errno = 0;
    out_.close();
    if (out_.fail()) {
        const int err = errno != 0 ? errno : EIO;
        discard();
        return err;
    }
    std::error_code ec;
    fs::rename(name_, target, ec);
    if (ec) {
        discard();
        return ec.value();
    }
    name_.clear();
    return 0;
}

void SaveTemporary::discard() noexcept {
    if (out_.is_open())
        out_.close();
    if (!name_.empty()) {
        std::error_code ignored;
        fs::remove(name_, ignored);
        name_.clear();
    }
}

#endif

void remove_abandoned_temporaries(const fs::path& target) noexcept {
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const std::string own = target.filename().string();
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const fs::path& file = it->path();
        const std::optional<long> pid = owner_of(file.filename().string(), own);
        std::error_code ignored;
        if (!pid || !fs::is_regular_file(fs::symlink_status(file, ignored)))
            continue;
#if defined(OSTRIVANE_POSIX_FILES)
        if (!abandoned(file, *pid))
            continue;
#endif
        // Elsewhere a file still open in its maker cannot be removed, which is the test.
        fs::remove(file, ignored);
    }
}

}  // namespace ostrivane
