#include "core/text/file_io.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

#include "core/text/error.h"

namespace ostrivane {
namespace fs = std::filesystem;
namespace {

std::string describe(const fs::path& path, const char* what) {
    const int err = errno;
    std::string message = std::string(what) + " " + path.string();
    if (err != 0)
        message += ": " + std::string(std::strerror(err));
    return message;
}

void write_stream(const fs::path& path, std::string_view bytes) {
    errno = 0;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        throw Error(describe(path, "Cannot create file"));
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out)
        throw Error(describe(path, "Cannot write file"));
    out.close();
    if (!out)
        throw Error(describe(path, "Cannot write file"));
}

}  // namespace

std::optional<std::string> read_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return std::nullopt;
    return bytes;
}

void write_file(const fs::path& path, std::string_view bytes) {
    write_stream(path, bytes);
}

void write_file_atomically(const fs::path& path, std::string_view bytes) {
    fs::path temp = path;
    temp += ".saving";
    try {
        write_stream(temp, bytes);
    } catch (...) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        throw;
    }
    std::error_code ec;
    fs::rename(temp, path, ec);
    if (ec) {
        fs::remove(temp, ec);
        throw Error("Cannot replace file " + path.string() + ": " + ec.message());
    }
}

}  // namespace ostrivane
