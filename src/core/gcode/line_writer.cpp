#include "core/gcode/line_writer.h"

#include <cerrno>
#include <cstring>
#include <system_error>

#include "core/text/ascii_text.h"
#include "core/text/error.h"

namespace ostrivane {
namespace fs = std::filesystem;
namespace {

std::string file_error(const char* what, const fs::path& path, int err) {
    std::string message = std::string(what) + " " + path.string();
    if (err != 0)
        message += ": " + std::string(std::strerror(err));
    return message;
}

fs::path staging_name(const fs::path& target) {
    fs::path temp = target;
    temp += ".writing";
    return temp;
}

}  // namespace

LineWriter::LineWriter(fs::path target, Mode mode)
    : target_(std::move(target)),
      written_(mode == Mode::staged ? staging_name(target_) : target_),
      mode_(mode) {
    errno = 0;
    out_.open(written_, std::ios::binary | std::ios::trunc);
    if (!out_)
        throw Error(file_error("Cannot create file", target_, errno));
}

LineWriter::~LineWriter() {
    abandon();
}

void LineWriter::write_line(std::string_view line) {
    line_ = to_ascii7(line);
    line_ += crlf;
    out_.write(line_.data(), static_cast<std::streamsize>(line_.size()));
}

void LineWriter::commit() {
    errno = 0;
    out_.flush();
    const bool written = static_cast<bool>(out_);
    out_.close();
    if (!written || out_.fail()) {
        const int err = errno;
        if (mode_ == Mode::staged) {
            std::error_code ignored;
            fs::remove(written_, ignored);
        }
        throw Error(file_error("Cannot write file", target_, err));
    }
    if (mode_ == Mode::staged) {
        std::error_code ec;
        fs::rename(written_, target_, ec);
        if (ec) {
            std::error_code ignored;
            fs::remove(written_, ignored);
            throw Error("Cannot write file " + target_.string() + ": " + ec.message());
        }
    }
}

void LineWriter::abandon() noexcept {
    if (!out_.is_open())
        return;
    out_.close();
    if (mode_ == Mode::staged) {
        std::error_code ignored;
        fs::remove(written_, ignored);
    }
}

}  // namespace ostrivane
