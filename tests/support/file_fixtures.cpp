#include "support/file_fixtures.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <csignal>
#endif

namespace ostrivane::test {
namespace fs = std::filesystem;

void write_bytes(const fs::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string read_bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

fs::perms perms_of(const fs::path& file) {
    return fs::status(file).permissions() & fs::perms::mask;
}

std::string folder_listing(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    std::string out;
    for (const std::string& name : names)
        out += (out.empty() ? "" : " ") + name;
    return out;
}

void for_each_hostile_file(
    const fs::path& file, std::uint64_t limit, std::string_view what,
    const std::function<void(std::string_view kind, const std::string& message)>& check) {
    const std::string cannot = "Cannot read file " + file.string() + ": ";
    std::error_code ec;
    fs::remove(file, ec);
    if (make_fifo(file)) {
        check("fifo", cannot + "it is a pipe (fifo), not a regular file.");
        fs::remove(file);
    }
    if (fs::exists("/dev/zero", ec)) {
        fs::create_symlink("/dev/zero", file);
        check("link to /dev/zero", cannot + "it is a device, not a regular file.");
        fs::remove(file);
    }
    write_bytes(file, "");
    fs::resize_file(file, std::max<std::uint64_t>(limit + 1, std::uint64_t{1} << 30));
    check("huge sparse file", cannot + "it is longer than " + std::to_string(limit) +
                                  " bytes, the most " + std::string(what) + " may hold.");
    fs::remove(file);
}

#ifndef _WIN32

bool make_fifo(const fs::path& file) {
    return ::mkfifo(file.c_str(), 0644) == 0;
}

bool make_null_device(const fs::path& file) {
    return ::mknod(file.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
}

bool running_as_root() {
    return ::geteuid() == 0;
}

FileSizeLimit::FileSizeLimit(std::uintmax_t bytes) {
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) != 0)
        return;
    old_soft_ = limit.rlim_cur;
    limit.rlim_cur = static_cast<rlim_t>(bytes);
    std::signal(SIGXFSZ, SIG_IGN);
    active_ = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

FileSizeLimit::~FileSizeLimit() {
    if (!active_)
        return;
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = static_cast<rlim_t>(old_soft_);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, SIG_DFL);
}

#else

bool make_fifo(const fs::path&) {
    return false;
}

bool make_null_device(const fs::path&) {
    return false;
}

bool running_as_root() {
    return false;
}

FileSizeLimit::FileSizeLimit(std::uintmax_t) {}
FileSizeLimit::~FileSizeLimit() = default;

#endif

}  // namespace ostrivane::test
