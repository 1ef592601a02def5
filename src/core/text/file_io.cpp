#include "core/text/file_io.h"

#include <array>
#include <cerrno>
#include <fstream>
#include <system_error>

#include "core/text/error.h"
#include "core/text/input_file.h"

namespace ostrivane {
namespace fs = std::filesystem;
namespace {

// Links are followed this far, as the system itself does before it gives up with ELOOP.
constexpr int kMaxLinks = 40;

constexpr std::size_t kReadChunk = 64 * 1024;
// Bytes gathered before they go to the temporary file: few system calls for many short lines.
constexpr std::size_t kWriteBuffer = 256 * 1024;

[[noreturn]] void refuse(std::string_view prefix, const fs::path& file, std::string_view cause) {
    throw Error(std::string(prefix) + " " + file.string() + ": " + std::string(cause));
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

}  // namespace

std::string system_message(int err) {
    if (err == 0)
        return "the system gave no reason";
    return std::generic_category().message(err);
}

std::string read_file_limited(const fs::path& path, std::uint64_t max_bytes,
                              std::string_view what) {
    InputFile in(path, max_bytes, what);
    std::string bytes;
    std::array<char, kReadChunk> chunk;
    while (const std::size_t got = in.read(chunk.data(), chunk.size()))
        bytes.append(chunk.data(), got);
    return bytes;
}

std::optional<std::string> read_file_if_exists(const fs::path& path, std::uint64_t max_bytes,
                                               std::string_view what) {
    std::error_code ec;
    // Only "not found" says there is nothing (a link to nothing included); any other error is
    // for the reading to tell.
    if (fs::status(path, ec).type() == fs::file_type::not_found)
        return std::nullopt;
    return read_file_limited(path, max_bytes, what);
}

std::optional<std::string> read_file(const fs::path& path) {
    try {
        return read_file_limited(path, own_file_limit, "a file of this program");
    } catch (const Error&) {
        return std::nullopt;
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
    remove_abandoned_temporaries(target_);
    if (const int err = temp_.open(target_); err != 0) {
        if (exists) {
            refuse("Cannot write file", file_,
                   "no temporary file can be made beside it (" + system_message(err) + ").");
        }
        refuse("Cannot create file", file_, system_message(err));
    }
    // The new file gets the old one's permissions before it holds anything.
    if (exists) {
        if (const int err = temp_.set_permissions(st.permissions()); err != 0) {
            discard();
            refuse("Cannot write file", file_,
                   "its permissions cannot be kept (" + system_message(err) + ").");
        }
    }
    buffer_ = std::make_unique_for_overwrite<char[]>(kWriteBuffer);
    next_ = buffer_.get();
    room_ = kWriteBuffer;
}

AtomicFile::~AtomicFile() {
    discard();
}

void AtomicFile::write_beyond_buffer(std::string_view bytes) {
    // After a failure nothing more is written or kept: a full disk must not fill the memory.
    if (!buffer_ || !flush_buffer())
        return;
    if (bytes.size() >= kWriteBuffer) {
        if (const int err = temp_.write(bytes.data(), bytes.size()); err != 0) {
            write_errno_ = err;
            stop_buffering();
        }
        return;
    }
    next_ = std::copy(bytes.begin(), bytes.end(), next_);
    room_ -= bytes.size();
}

bool AtomicFile::flush_buffer() {
    const char* start = buffer_.get();
    const auto size = static_cast<std::size_t>(next_ - start);
    if (size != 0) {
        if (const int err = temp_.write(start, size); err != 0) {
            write_errno_ = err;
            stop_buffering();
            return false;
        }
    }
    next_ = buffer_.get();
    room_ = kWriteBuffer;
    return true;
}

void AtomicFile::stop_buffering() {
    buffer_.reset();
    next_ = nullptr;
    room_ = 0;
}

void AtomicFile::commit() {
    if (!temp_.is_open())
        throw Error("Cannot write file " + file_.string() + ": it is already closed.");
    if (buffer_)
        flush_buffer();
    stop_buffering();
    if (write_errno_ != 0) {
        discard();
        refuse("Cannot write file", file_, system_message(write_errno_));
    }
    if (const int err = temp_.replace(target_); err != 0)
        refuse("Cannot replace file", file_, system_message(err));
}

void AtomicFile::discard() noexcept {
    stop_buffering();
    temp_.discard();
}

void write_file_atomically(const fs::path& path, std::string_view bytes) {
    AtomicFile file(path);
    file.write(bytes);
    file.commit();
}

}  // namespace ostrivane
