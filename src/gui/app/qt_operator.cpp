#include "gui/app/qt_operator.h"

#include <QMessageBox>

namespace ostrivane::gui {
namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
const QString kTitle = QStringLiteral("Ostrivane");

}  // namespace

void QtOperator::information(std::string_view message) {
    QMessageBox::information(parent_, kTitle, qs(message));
}

bool QtOperator::ask_yes_no(std::string_view question) {
    return QMessageBox::warning(parent_, kTitle, qs(question), QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::No) == QMessageBox::Yes;
}

Operator::Answer QtOperator::ask_yes_no_cancel(std::string_view question) {
    const auto button = QMessageBox::question(
        parent_, kTitle, qs(question), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (button == QMessageBox::Yes)
        return Answer::Yes;
    if (button == QMessageBox::No)
        return Answer::No;
    return Answer::Cancel;
}

void QtOperator::show_error(std::string_view message) {
    QMessageBox::critical(parent_, kTitle, qs(message));
}

void run_action(Operator& op, const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        op.show_error(e.what());
    }
}

}  // namespace ostrivane::gui
