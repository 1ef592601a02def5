#include "core/text/file_io.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "core/text/error.h"

namespace ostrivane {
namespace fs = std::filesystem;
namespace {

// Links are followed this far, as the system itself does before it gives up with ELOOP.
constexpr int kMaxLinks = 40;

constexpr std::size_t kReadChunk = 64 * 1024;

[[noreturn]] void refuse(std::string_view prefix, const fs::path& file, std::string_view cause) {
    throw Error(std::string(prefix) + " " + file.string() + ": " + std::string(cause));
}

// Why a file of this type cannot be read or written as a file, or empty for a regular file.
// A clause without its full stop, to stand at a sentence's end or in brackets.
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

// The file a path finally names: symbolic links followed, each relative one from its own
// folder. A link that points nowhere gives the path it points to, which a save then creates.
fs::path follow_links(const fs::path& file) {
    fs::path p = file;
    for (int i = 0; i < kMaxLinks; ++i) {
        std::error_code ec;
        const fs::file_status st = fs::symlink_status(p, ec);
        if (ec || !fs::is_symlink(st))
            return p;
        const fs::path next = fs::read_symlink(p, ec);
        if (ec)
            refuse("Cannot write file", file, ec.message());
        p = next.is_absolute() ? next : p.parent_path() / next;
    }
    refuse("Cannot write file", file, system_message(ELOOP));
}

bool has_write_bit(fs::perms p) {
    constexpr fs::perms any_write =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return (p & any_write) != fs::perms::none;
}

// Refuses an existing target that the user cannot or should not overwrite. The write bits are
// checked by themselves too: a file marked read-only stays so even for an administrator.
void check_writable(const fs::path& file, const fs::path& target, const fs::file_status& st) {
    if (const std::string_view reason = not_a_file_reason(st.type()); !reason.empty())
        refuse("Cannot write file", file, std::string(reason) + ".");
    if (!has_write_bit(st.permissions()))
        refuse("Cannot write file", file, system_message(EACCES) + " (the file is read-only)");
    errno = 0;
    // Opening for appending neither creates nor changes the file; it only asks the system.
    std::ofstream probe(target, std::ios::binary | std::ios::app);
    if (!probe)
        refuse("Cannot write file", file, system_message(errno));
}

fs::path temporary_name(const fs::path& target) {
    fs::path temp = target;
    temp += ".saving";
    return temp;
}

}  // namespace

std::string system_message(int err) {
    if (err == 0)
        return "the system gave no reason";
    return std::generic_category().message(err);
}

std::optional<std::string> read_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes;
    std::array<char, kReadChunk> chunk;
    // read() turns a failing read (a folder, say) into badbit where a stream iterator throws.
    while (in.read(chunk.data(), chunk.size()) || in.gcount() > 0) {
        bytes.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
        if (!in)
            break;
    }
    if (in.bad())
        return std::nullopt;
    return bytes;
}

std::string read_file_limited(const fs::path& path, std::uint64_t max_bytes,
                              std::string_view what) {
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (ec)
        refuse("Cannot open file", path, ec.message());
    if (const std::string_view reason = not_a_file_reason(st.type()); !reason.empty())
        refuse("Cannot read file", path, std::string(reason) + ".");
    const std::string limit = "it is longer than " + std::to_string(max_bytes) +
                              " bytes, the most " + std::string(what) + " may hold.";
    const std::uintmax_t size = fs::file_size(path, ec);
    if (!ec && size > max_bytes)
        refuse("Cannot read file", path, limit);
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        refuse("Cannot open file", path, system_message(errno));
    // The file may grow while it is read: never take more than one byte past the limit.
    std::string bytes;
    std::array<char, kReadChunk> chunk;
    for (;;) {
        const std::uint64_t room = max_bytes + 1 - bytes.size();
        const auto want = static_cast<std::streamsize>(std::min<std::uint64_t>(chunk.size(), room));
        errno = 0;
        in.read(chunk.data(), want);
        bytes.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
        if (in.bad())
            refuse("Cannot read file", path, system_message(errno));
        if (bytes.size() > max_bytes)
            refuse("Cannot read file", path, limit);
        if (!in)
            return bytes;
    }
}

AtomicFile::AtomicFile(fs::path file) : file_(std::move(file)) {
    if (!file_.has_filename()) {
        std::error_code ignored;
        refuse("Cannot write file", file_,
               fs::is_directory(file_, ignored) ? "it is a folder, not a file."
                                                : "a file name cannot end in a folder separator.");
    }
    target_ = follow_links(file_);
    std::error_code ec;
    const fs::file_status st = fs::status(target_, ec);
    const bool exists = !ec && fs::exists(st);
    if (exists)
        check_writable(file_, target_, st);
    temp_ = temporary_name(target_);
    // A temporary file left by a save that was cut short is ours to replace; anything else in
    // its place is not.
    const fs::file_status left = fs::symlink_status(temp_, ec);
    if (!ec && fs::exists(left)) {
        if (!fs::is_regular_file(left) && !fs::is_symlink(left)) {
            refuse("Cannot write file", file_,
                   "its temporary file " + temp_.string() + " is in the way (" +
                       std::string(not_a_file_reason(left.type())) + ").");
        }
        // Never written through: a link there would carry the bytes somewhere else.
        if (fs::remove(temp_, ec); ec) {
            refuse(
                "Cannot write file", file_,
                "its temporary file " + temp_.string() + " is in the way (" + ec.message() + ").");
        }
    }
    errno = 0;
    out_.open(temp_, std::ios::binary | std::ios::trunc);
    if (!out_) {
        const int err = errno;
        if (exists) {
            refuse("Cannot write file", file_,
                   "no temporary file can be made beside it (" + system_message(err) + ").");
        }
        refuse("Cannot create file", file_, system_message(err));
    }
    // The new file gets the old one's permissions before it holds anything.
    if (exists) {
        fs::permissions(temp_, st.permissions(), ec);
        if (ec) {
            discard();
            refuse("Cannot write file", file_,
                   "its permissions cannot be kept (" + ec.message() + ").");
        }
    }
}

AtomicFile::~AtomicFile() {
    discard();
}

void AtomicFile::write(std::string_view bytes) {
    errno = 0;
    out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out_ && write_errno_ == 0)
        write_errno_ = errno != 0 ? errno : EIO;
}

void AtomicFile::commit() {
    if (!out_.is_open())
        throw Error("Cannot write file " + file_.string() + ": it is already closed.");
    errno = 0;
    out_.flush();
    if (!out_ && write_errno_ == 0)
        write_errno_ = errno != 0 ? errno : EIO;
    out_.close();
    if (out_.fail() && write_errno_ == 0)
        write_errno_ = errno != 0 ? errno : EIO;
    if (write_errno_ != 0) {
        discard();
        refuse("Cannot write file", file_, system_message(write_errno_));
    }
    std::error_code ec;
    fs::rename(temp_, target_, ec);
    if (ec) {
        discard();
        refuse("Cannot replace file", file_, ec.message());
    }
    temp_.clear();
}

void AtomicFile::discard() noexcept {
    if (out_.is_open())
        out_.close();
    if (temp_.empty())
        return;
    std::error_code ignored;
    fs::remove(temp_, ignored);
    temp_.clear();
}

void write_file_atomically(const fs::path& path, std::string_view bytes) {
    AtomicFile file(path);
    file.write(bytes);
    file.commit();
}

}  // namespace ostrivane
