#include "core/app/log.h"

#include <array>
#include <cerrno>
#include <chrono>
#include <ctime>

#include "core/text/ascii_text.h"
#include "core/text/error.h"
#include "core/text/file_io.h"

namespace ostrivane {
namespace {

std::tm local_time(std::time_t t) {
    std::tm tm{};
#ifdef _WIN32
    localtime_s(&tm, &t);
#else
    localtime_r(&t, &tm);
#endif
    return tm;
}

std::string two_digits(int v) {
    return std::string{char('0' + v / 10), char('0' + v % 10)};
}

}  // namespace

std::string english_time_stamp() {
    static constexpr std::array<const char*, 7> days = {"Sun", "Mon", "Tue", "Wed",
                                                        "Thu", "Fri", "Sat"};
    static constexpr std::array<const char*, 12> months = {
        "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    using namespace std::chrono;
    const auto now = system_clock::now();
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    const std::tm tm = local_time(system_clock::to_time_t(now));
    return std::string(days[tm.tm_wday]) + " " + std::to_string(tm.tm_mday) + " " +
           months[tm.tm_mon] + " at " + two_digits(tm.tm_hour) + ":" + two_digits(tm.tm_min) + ":" +
           two_digits(tm.tm_sec) + ":" + std::to_string(ms / 100) + two_digits(ms % 100);
}

Log::Log(const FieldSource& switches, TimeStamp time_stamp)
    : switches_(switches), time_stamp_(std::move(time_stamp)) {}

void Log::open(const std::filesystem::path& file) {
    screen_.clear();
    critical_.clear();
    if (screen_sink_ != nullptr)
        screen_sink_->clear();
    if (critical_sink_ != nullptr)
        critical_sink_->clear();
    path_ = file;
    reopen(std::ios::app);
}

void Log::not_opened(const std::filesystem::path& file, std::string reason) {
    file_.close();
    path_ = file;
    not_open_reason_ = std::move(reason);
}

void Log::reopen(std::ios::openmode mode) {
    file_.close();
    file_.clear();
    std::error_code ec;
    const auto type = std::filesystem::status(path_, ec).type();
    // Opening a pipe for writing would wait for a reader for ever.
    if (type != std::filesystem::file_type::regular &&
        type != std::filesystem::file_type::not_found && !ec) {
        not_open_reason_ = "it is not a regular file";
    } else {
        errno = 0;
        file_.open(path_, std::ios::binary | std::ios::out | mode);
        not_open_reason_ = file_ ? "" : system_message(errno);
    }
    if (!not_open_reason_.empty())
        throw Error("Cannot open the log file " + path_.string() + ": " + not_open_reason_);
}

void Log::close() noexcept {
    try {
        file_.close();
    } catch (...) {
    }
}

std::uint64_t Log::rounded_file_size() const {
    std::error_code ec;
    if (!file_.is_open()) {
        const std::string reason = not_open_reason_.empty()
                                       ? "it has not been opened"
                                       : "it could not be opened (" + not_open_reason_ + ")";
        throw Error("Cannot write the log file" + (path_.empty() ? "" : " " + path_.string()) +
                    ": " + reason);
    }
    const auto size = std::filesystem::file_size(path_, ec);
    if (ec)
        throw Error("Cannot size the log file " + path_.string() + ": " + ec.message());
    return size / 128 * 128;
}

void Log::write_to_file(const std::string& line) {
    // Both tests are strictly above their threshold. A file already past the upper one is
    // emptied straight away: a warning written first would only be emptied with it.
    const std::uint64_t size = rounded_file_size();
    if (size > warning_size && size <= emptying_size && !file_warning_) {
        file_warning_ = true;
        log("WARNING, one of the logfiles has almost reached its maximum size. Automatic cleanup "
            "will follow soon.",
            true);
    }
    if (rounded_file_size() > emptying_size) {
        reopen(std::ios::trunc);
        file_warning_ = false;
        log("WARNING, one of the logfiles has reached maximum size. Cleaning up right now.", true);
    }
    errno = 0;
    file_ << line << crlf;
    file_.flush();
    if (!file_) {
        const int err = errno;
        // Later lines may be written again once the cause is gone (space freed on the disk).
        file_.clear();
        throw Error("Cannot write the log file " + path_.string() + ": " + system_message(err));
    }
}

bool Log::keeps_notices() const {
    return switches_.checked("Write_log_screen") || switches_.checked("write_log");
}

void Log::log(std::string_view message, bool critical) {
    const bool to_file = switches_.checked("write_log");
    if (!critical && !keeps_notices())
        return;
    const std::string line = time_stamp_() + " : " + std::string(message);
    if (to_file)
        write_to_file(line);
    if (screen_.size() > screen_line_limit - 1) {
        screen_.pop_front();
        if (screen_sink_ != nullptr)
            screen_sink_->remove_first_line();
    }
    screen_.push_back(line);
    if (screen_sink_ != nullptr)
        screen_sink_->append(line);
    if (critical) {
        critical_.push_back(line);
        if (critical_sink_ != nullptr)
            critical_sink_->append(line);
    }
}

}  // namespace ostrivane
