#pragma once
#include <QElapsedTimer>
#include <QPointer>
#include <QProgressDialog>
#include <QString>
#include <functional>

#include "core/text/job_context.h"

namespace ostrivane::gui {

// The window's side of a long job. The job calls pump() as often as it likes; only every
// `pump_interval_ms` does that reach the event loop, so the window repaints and a pump costs
// a clock reading otherwise. A job still running after `show_after_ms` shows a progress dialog
// with a Cancel button; it is application-modal, so nothing else in the program can be started
// while the job runs, and until it is shown no keyboard or mouse input is handled at all (it
// waits for the job to end). Cancel is read by cancelled().
class QtJobContext final : public JobContext {
  public:
    struct Timing {
        int show_after_ms = 500;
        int pump_interval_ms = 40;  // about 25 frames a second
        // Milliseconds since the job began; a steady clock when empty (tests step their own).
        std::function<qint64()> clock;
    };

    QtJobContext(QWidget* parent, QString label, Timing timing);
    QtJobContext(QWidget* parent, QString label) : QtJobContext(parent, std::move(label), {}) {}
    ~QtJobContext() override;
    QtJobContext(const QtJobContext&) = delete;
    QtJobContext& operator=(const QtJobContext&) = delete;

    void pump() override;
    bool cancelled() const override { return cancelled_; }
    void progress(double done, double total) override;

    // The progress dialog, once the job has run long enough to show it.
    QProgressDialog* dialog() const { return dialog_; }

  private:
    void show_dialog();
    void update_dialog();
    qint64 elapsed_ms() const;

    QPointer<QWidget> parent_;
    QString label_;
    Timing timing_;
    QElapsedTimer clock_;
    qint64 next_pump_ms_ = 0;
    QPointer<QProgressDialog> dialog_;
    double done_ = 0;
    double total_ = 0;
    bool cancelled_ = false;
};

}  // namespace ostrivane::gui
