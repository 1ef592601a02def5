#pragma once
#include <QPlainTextEdit>

#include "core/app/log.h"

namespace ostrivane::gui {

// Shows a log's lines in a memo, scrolled to the newest.
class MemoSink final : public LogSink {
  public:
    explicit MemoSink(QPlainTextEdit* memo) : memo_(memo) {}
    void clear() override;
    void append(std::string_view line) override;
    void remove_first_line() override;

  private:
    QPlainTextEdit* memo_;
};

// The time stamp with the day and month names of the user's locale.
std::string local_time_stamp();

}  // namespace ostrivane::gui
