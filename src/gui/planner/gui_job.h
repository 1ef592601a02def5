#pragma once
#include <QElapsedTimer>
#include <QPointer>
#include <QString>

#include "core/text/job_context.h"

class QProgressDialog;
class QWidget;

namespace ostrivane::gui {

// A job context for work started from a window: pending events are handled at each pump, and a
// progress dialog with Cancel appears once the job has run for half a second.
class WindowJob final : public JobContext {
  public:
    WindowJob(QWidget* parent, QString title);
    ~WindowJob() override;
    WindowJob(const WindowJob&) = delete;
    WindowJob& operator=(const WindowJob&) = delete;

    void pump() override;
    bool cancelled() const override;
    void progress(double done, double total) override;

  private:
    QPointer<QWidget> parent_;
    QString title_;
    QElapsedTimer clock_;
    QProgressDialog* dialog_ = nullptr;
    bool cancelled_ = false;
};

}  // namespace ostrivane::gui
