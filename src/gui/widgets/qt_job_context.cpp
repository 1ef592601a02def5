#include "gui/widgets/qt_job_context.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <algorithm>

#include "gui/widgets/qt_text.h"

namespace ostrivane::gui {
namespace {

// The dialog's bar counts in tenths of a percent.
constexpr int kSteps = 1000;

}  // namespace

QtJobContext::QtJobContext(QWidget* parent, QString label, Timing timing)
    : parent_(parent), label_(std::move(label)), timing_(std::move(timing)) {
    clock_.start();
    next_pump_ms_ = timing_.pump_interval_ms;
}

QtJobContext::~QtJobContext() {
    delete dialog_.data();
}

qint64 QtJobContext::elapsed_ms() const {
    return timing_.clock ? timing_.clock() : clock_.elapsed();
}

void QtJobContext::pump() {
    const qint64 now = elapsed_ms();
    if (now < next_pump_ms_)
        return;
    next_pump_ms_ = now + timing_.pump_interval_ms;
    if (dialog_ == nullptr && now >= timing_.show_after_ms)
        show_dialog();
    update_dialog();
    // Until the modal dialog blocks the window, a click on it would start a second action in
    // the middle of this one: such input waits for the job to end.
    QCoreApplication::processEvents(dialog_ != nullptr ? QEventLoop::AllEvents
                                                       : QEventLoop::ExcludeUserInputEvents);
    if (dialog_ != nullptr && dialog_->wasCanceled())
        cancelled_ = true;
}

void QtJobContext::progress(double done, double total) {
    done_ = done;
    total_ = total;
}

void QtJobContext::show_dialog() {
    dialog_ = new QProgressDialog(parent_);
    dialog_->setLabel(plain_label(label_));
    dialog_->setCancelButtonText(QStringLiteral("Cancel"));
    dialog_->setWindowTitle(QStringLiteral("Ostrivane"));
    dialog_->setAccessibleName(label_);
    dialog_->setWindowModality(Qt::ApplicationModal);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    dialog_->setMinimumDuration(0);
    QObject::connect(dialog_, &QProgressDialog::canceled, dialog_, [this] { cancelled_ = true; });
    dialog_->show();
}

void QtJobContext::update_dialog() {
    if (dialog_ == nullptr)
        return;
    if (total_ > 0) {
        dialog_->setRange(0, kSteps);
        const double fraction = std::clamp(done_ / total_, 0.0, 1.0);
        dialog_->setValue(static_cast<int>(fraction * kSteps));
    } else {
        dialog_->setRange(0, 0);  // a busy bar while the amount of work is not known
    }
}

}  // namespace ostrivane::gui
