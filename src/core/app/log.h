#pragma once
#include <cstdint>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/field_source.h"

namespace ostrivane {

// A view of log lines: the window's memos attach here.
class LogSink {
  public:
    virtual ~LogSink() = default;
    virtual void clear() = 0;
    virtual void append(std::string_view line) = 0;
    virtual void remove_first_line() = 0;
};

// The local time as "Mon 5 Jan at 14:03:07:045", with English day and month names.
std::string english_time_stamp();

// The program's one log: a time-stamped line to the log file, to the screen log (at most 251
// lines) and, for critical messages, to the critical log. The two switches are read from the
// fields `Write_log_screen` and `write_log` at every call.
class Log {
  public:
    using TimeStamp = std::function<std::string()>;

    static constexpr std::size_t screen_line_limit = 251;
    static constexpr std::uint64_t warning_size = 9'000'000;    // exceeded from 9,000,064 bytes
    static constexpr std::uint64_t emptying_size = 10'000'000;  // exceeded from 10,000,128 bytes

    explicit Log(const FieldSource& switches, TimeStamp time_stamp = english_time_stamp);

    void attach_screen(LogSink* sink) { screen_sink_ = sink; }
    void attach_critical(LogSink* sink) { critical_sink_ = sink; }

    // Empties both memos and opens the file for appending (creating it). Throws Error naming
    // the file and the cause; later writes to the file then fail with the same cause.
    void open(const std::filesystem::path& file);
    // Names the log file that was never opened, and why, for the errors of later writes.
    void not_opened(const std::filesystem::path& file, std::string reason);
    // Writes one message. Throws Error when the file cannot be sized, written or flushed;
    // the memos then stay as they were.
    void log(std::string_view message, bool critical);
    // Whether log() would keep a message that is not critical: worth composing costly ones only
    // then.
    bool keeps_notices() const;
    // Closes the file; errors are ignored.
    void close() noexcept;

    const std::filesystem::path& file() const { return path_; }
    const std::deque<std::string>& screen_lines() const { return screen_; }
    const std::vector<std::string>& critical_lines() const { return critical_; }
    bool file_warning_given() const { return file_warning_; }

  private:
    void write_to_file(const std::string& line);
    std::uint64_t rounded_file_size() const;
    void reopen(std::ios::openmode mode);

    const FieldSource& switches_;
    TimeStamp time_stamp_;
    std::filesystem::path path_;
    std::ofstream file_;
    std::string not_open_reason_;  // why the file is not open, for the errors of writes
    bool file_warning_ = false;
    std::deque<std::string> screen_;
    std::vector<std::string> critical_;
    LogSink* screen_sink_ = nullptr;
    LogSink* critical_sink_ = nullptr;
};

}  // namespace ostrivane
