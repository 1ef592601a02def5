#include "gui/app/memo_sink.h"

#include <QDateTime>
#include <QLocale>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

namespace ostrivane::gui {

void MemoSink::clear() {
    memo_->clear();
}

void MemoSink::append(std::string_view line) {
    memo_->appendPlainText(QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size())));
    memo_->verticalScrollBar()->setValue(memo_->verticalScrollBar()->maximum());
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
    return stamp.toStdString();
}

}  // namespace ostrivane::gui
