#include "gui/widgets/qt_operator.h"

#include <QMessageBox>

#include "core/gcode/gcode_program.h"
#include "gui/widgets/qt_text.h"

namespace ostrivane::gui {
namespace {

const QString kTitle = QStringLiteral("Ostrivane");

// Every box shows its message as plain text: messages quote file names, fields and captions,
// and markup in them must not render.
QMessageBox::StandardButton show_box(QWidget* parent, QMessageBox::Icon icon, std::string_view text,
                                     QMessageBox::StandardButtons buttons,
                                     QMessageBox::StandardButton default_button) {
    QMessageBox box(icon, kTitle, qs(text), buttons, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(default_button);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

void QtOperator::information(std::string_view message) {
    show_box(parent_, QMessageBox::Information, message, QMessageBox::Ok, QMessageBox::Ok);
}

void QtOperator::show_error(std::string_view message) {
    show_box(parent_, QMessageBox::Critical, message, QMessageBox::Ok, QMessageBox::Ok);
}

bool QtOperator::ask_yes_no(std::string_view question) {
    return show_box(parent_, QMessageBox::Warning, question, QMessageBox::Yes | QMessageBox::No,
                    QMessageBox::No) == QMessageBox::Yes;
}

Operator::Answer QtOperator::ask_yes_no_cancel(std::string_view question) {
    const auto button =
        show_box(parent_, QMessageBox::Question, question,
                 QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::NoButton);
    if (button == QMessageBox::Yes)
        return Answer::Yes;
    if (button == QMessageBox::No)
        return Answer::No;
    return Answer::Cancel;
}

void run_action(Operator& op, const std::function<void()>& action) {
    try {
        action();
    } catch (const JobCancelled& e) {
        op.information(e.what());  // the operator's own choice, not a failure
    } catch (const std::exception& e) {
        op.show_error(e.what());
    }
}

}  // namespace ostrivane::gui
