#include "gui/planner/gui_job.h"

#include <QCoreApplication>
#include <QProgressDialog>
#include <algorithm>
#include <cmath>

namespace ostrivane::gui {

namespace {
constexpr qint64 kShowAfterMs = 500;
}

WindowJob::WindowJob(QWidget* parent, QString title) : parent_(parent), title_(std::move(title)) {
    clock_.start();
}

WindowJob::~WindowJob() {
    delete dialog_;
}

void WindowJob::pump() {
    if (dialog_ == nullptr && clock_.elapsed() >= kShowAfterMs) {
        dialog_ = new QProgressDialog(title_, QStringLiteral("Cancel"), 0, 1000, parent_);
        dialog_->setWindowTitle(QStringLiteral("Ostrivane"));
        dialog_->setAccessibleName(title_);
        dialog_->setWindowModality(Qt::WindowModal);
        dialog_->setMinimumDuration(0);
        dialog_->show();
    }
    QCoreApplication::processEvents();
    if (dialog_ != nullptr && dialog_->wasCanceled())
        cancelled_ = true;
}

bool WindowJob::cancelled() const {
    return cancelled_;
}

void WindowJob::progress(double done, double total) {
    if (dialog_ == nullptr || !(total > 0))
        return;
    const double fraction = std::clamp(done / total, 0.0, 1.0);
    dialog_->setValue(static_cast<int>(std::lround(fraction * 1000)));
}

}  // namespace ostrivane::gui
