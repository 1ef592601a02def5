#include "qt_job_context_test.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "gui/widgets/qt_job_context.h"

using ostrivane::gui::QtJobContext;

namespace {

// A widget that counts its repaints.
class PaintCounter : public QWidget {
  public:
    int paints = 0;

  protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

// Pumps like a busy job until `done` holds or `limit_ms` have passed; returns the pumps made.
template <typename Done>
long run_job(QtJobContext& job, int limit_ms, Done done) {
    QElapsedTimer clock;
    clock.start();
    long pumps = 0;
    while (!done() && clock.elapsed() < limit_ms) {
        job.pump();
        ++pumps;
    }
    return pumps;
}

}  // namespace

void QtJobContextTest::shortJobShowsNothing() {
    QWidget window;
    window.show();
    QtJobContext job(&window, QStringLiteral("Writing"), {.show_after_ms = 500});
    run_job(job, 100, [] { return false; });
    QVERIFY(job.dialog() == nullptr);
    QVERIFY(!job.cancelled());
}

void QtJobContextTest::pumpingReachesTheEventLoopAtABoundedRate() {
    PaintCounter window;
    window.resize(100, 100);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // A zero timer fires once for every pass of the event loop.
    int passes = 0;
    QTimer every_pass;
    QObject::connect(&every_pass, &QTimer::timeout, [&] { ++passes; });
    every_pass.start(0);
    const int paints_before = window.paints;
    QtJobContext job(&window, QStringLiteral("Writing"),
                     {.show_after_ms = 10'000, .pump_interval_ms = 20});
    QElapsedTimer clock;
    clock.start();
    long pumps = 0;
    while (clock.elapsed() < 300) {
        if (pumps % 1000 == 0)
            window.update();  // the job draws now and then
        job.pump();
        ++pumps;
    }
    const qint64 elapsed = clock.elapsed();
    QVERIFY2(pumps > 10'000, "a pump that does not reach the event loop costs next to nothing");
    QVERIFY2(passes >= 5, "the event loop runs while the job does");
    QVERIFY2(passes <= elapsed / 20 + 2, qPrintable(QString::number(passes)));
    QVERIFY2(window.paints > paints_before, "the window repaints in the middle of the job");
}

void QtJobContextTest::longJobShowsProgressAndCanBeCancelled() {
    QWidget window;
    window.show();
    QtJobContext job(&window, QStringLiteral("Writing <b>Karvik.ngc</b>"),
                     {.show_after_ms = 50, .pump_interval_ms = 10});
    job.progress(250, 1000);
    run_job(job, 2000, [&] { return job.dialog() != nullptr; });
    QProgressDialog* dialog = job.dialog();
    QVERIFY(dialog != nullptr);
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->windowModality(), Qt::ApplicationModal);
    QCOMPARE(dialog->value(), 250);
    auto* label = dialog->findChild<QLabel*>();
    QVERIFY(label != nullptr);
    QCOMPARE(label->textFormat(), Qt::PlainText);
    QVERIFY(!job.cancelled());

    // The operator presses Cancel while the job runs; the job sees it at its next pump.
    QTimer::singleShot(30, dialog, [dialog] {
        QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
    });
    run_job(job, 2000, [&] { return job.cancelled(); });
    QVERIFY(job.cancelled());
}
