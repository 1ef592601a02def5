#include "gui/editor/editor_job_context.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <algorithm>
#include <cmath>

namespace ostrivane::gui {

EditorJobContext::EditorJobContext(QProgressBar* bar, std::function<void()> on_pump,
                                   int pump_interval_ms)
    : bar_(bar), on_pump_(std::move(on_pump)), interval_ms_(pump_interval_ms) {
    if (bar_) {
        bar_->setRange(0, 1000);
        bar_->setValue(0);
        bar_->show();
    }
    since_pump_.start();
}

EditorJobContext::~EditorJobContext() {
    if (bar_)
        bar_->hide();
}

void EditorJobContext::pump() {
    // A job calls this after every column or saw: handing each call to the event loop would
    // cost more than the work itself, so events are handled a few dozen times a second.
    if (since_pump_.elapsed() < interval_ms_)
        return;
    since_pump_.restart();
    if (on_pump_)
        on_pump_();
    QCoreApplication::processEvents(QEventLoop::AllEvents, interval_ms_);
}

void EditorJobContext::progress(double done, double total) {
    if (!bar_ || !(total > 0))
        return;
    const double share = std::clamp(done / total, 0.0, 1.0);
    bar_->setValue(static_cast<int>(std::lround(share * 1000)));
}

}  // namespace ostrivane::gui
