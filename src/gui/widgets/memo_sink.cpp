#include "gui/widgets/memo_sink.h"

#include <QDateTime>
#include <QLocale>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

#include "gui/widgets/qt_text.h"

namespace ostrivane::gui {

void MemoSink::clear() {
    memo_->clear();
}

void MemoSink::append(std::string_view line) {
    memo_->appendPlainText(qs(line));
    // The new line is shown from its start, time stamp first, however long its message: the
    // cursor goes there too, so that nothing scrolls the view back to a line's far end.
    memo_->setTextCursor(QTextCursor(memo_->document()->lastBlock()));
    memo_->ensureCursorVisible();
    memo_->horizontalScrollBar()->setValue(memo_->horizontalScrollBar()->minimum());
}

void MemoSink::remove_first_line() {
    QTextCursor cursor(memo_->document()->firstBlock());
    cursor.select(QTextCursor::BlockUnderCursor);
    cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

std::string local_time_stamp() {
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale = QLocale::system();
    const QString stamp = locale.dayName(now.date().dayOfWeek(), QLocale::ShortFormat) + ' ' +
                          QString::number(now.date().day()) + ' ' +
                          locale.monthName(now.date().month(), QLocale::ShortFormat) + " at " +
                          now.time().toString(QStringLiteral("HH:mm:ss:zzz"));
    return ss(stamp);
}

}  // namespace ostrivane::gui
