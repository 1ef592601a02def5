#pragma once
#include <QElapsedTimer>
#include <QPointer>
#include <functional>

#include "core/text/job_context.h"

class QProgressBar;

namespace ostrivane::gui {

// Long work of the editor (the shading, the turning job) shown on the visualisation group's
// progress bar: the bar appears while the work runs, pending events are handled at a bounded
// rate so repaints and keys get through, and a stop request ends the work at its next safe
// point.
class EditorJobContext final : public JobContext {
  public:
    // `on_pump` runs before pending events are handled (to show what the work drew).
    explicit EditorJobContext(QProgressBar* bar, std::function<void()> on_pump = {},
                              int pump_interval_ms = 15);
    ~EditorJobContext() override;
    EditorJobContext(const EditorJobContext&) = delete;
    EditorJobContext& operator=(const EditorJobContext&) = delete;

    void pump() override;
    bool cancelled() const override { return stop_requested_; }
    void progress(double done, double total) override;

    void request_stop() { stop_requested_ = true; }

  private:
    QPointer<QProgressBar> bar_;
    QElapsedTimer since_pump_;
    std::function<void()> on_pump_;
    int interval_ms_;
    bool stop_requested_ = false;
};

}  // namespace ostrivane::gui
