#include "qt_job_context_test.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>

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

// Counts the events posted to it that the event loop has delivered.
class Mailbox : public QObject {
  public:
    int delivered = 0;
    void post() { QCoreApplication::postEvent(this, new QEvent(QEvent::User)); }

  protected:
    bool event(QEvent* e) override {
        if (e->type() != QEvent::User)
            return QObject::event(e);
        ++delivered;
        return true;
    }
};

// A job's clock that the test moves by hand.
struct StepClock {
    qint64 now = 0;
    std::function<qint64()> reader() {
        return [this] { return now; };
    }
};

}  // namespace

void QtJobContextTest::shortJobShowsNothing() {
    QWidget window;
    window.show();
    StepClock clock;
    QtJobContext job(&window, QStringLiteral("Writing"),
                     {.show_after_ms = 500, .pump_interval_ms = 40, .clock = clock.reader()});
    for (clock.now = 0; clock.now < 500; clock.now += 7)
        job.pump();
    QVERIFY(job.dialog() == nullptr);
    QVERIFY(!job.cancelled());
}

void QtJobContextTest::pumpReachesTheEventLoopOncePerInterval() {
    PaintCounter window;
    window.resize(100, 100);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Mailbox mail;
    StepClock clock;
    QtJobContext job(&window, QStringLiteral("Writing"),
                     {.show_after_ms = 10'000, .pump_interval_ms = 20, .clock = clock.reader()});

    // However often a job pumps within one interval, the event loop is left alone: such a pump
    // only reads the clock.
    mail.post();
    for (int i = 0; i < 10'000; ++i)
        job.pump();
    clock.now = 19;
    job.pump();
    QCOMPARE(mail.delivered, 0);

    // The first pump of the next interval lets the events through, the window's repaint too.
    const int paints_before = window.paints;
    window.update();
    clock.now = 20;
    job.pump();
    QCOMPARE(mail.delivered, 1);
    QVERIFY(window.paints > paints_before);

    // The interval counts from that pump: a job that pumped late does not catch up in a burst.
    clock.now = 95;
    mail.post();
    job.pump();
    QCOMPARE(mail.delivered, 2);
    mail.post();
    clock.now = 114;
    job.pump();
    QCOMPARE(mail.delivered, 2);
    clock.now = 115;
    job.pump();
    QCOMPARE(mail.delivered, 3);
    QVERIFY(job.dialog() == nullptr);
}

void QtJobContextTest::longJobShowsProgressAndCanBeCancelled() {
    QWidget window;
    window.show();
    StepClock clock;
    QtJobContext job(&window, QStringLiteral("Writing <b>Karvik.ngc</b>"),
                     {.show_after_ms = 50, .pump_interval_ms = 10, .clock = clock.reader()});
    job.progress(250, 1000);
    clock.now = 40;
    job.pump();
    QVERIFY(job.dialog() == nullptr);
    clock.now = 50;
    job.pump();
    QProgressDialog* dialog = job.dialog();
    QVERIFY(dialog != nullptr);
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->windowModality(), Qt::ApplicationModal);
    QCOMPARE(dialog->value(), 250);
    auto* label = dialog->findChild<QLabel*>();
    QVERIFY(label != nullptr);
    QCOMPARE(label->textFormat(), Qt::PlainText);
    QVERIFY(!job.cancelled());

    // The operator presses Cancel while the job runs; the job sees it at its next pump that
    // reaches the event loop.
    QMetaObject::invokeMethod(
        dialog, [dialog] { QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton); },
        Qt::QueuedConnection);
    clock.now = 59;
    job.pump();
    QVERIFY(!job.cancelled());
    clock.now = 60;
    job.pump();
    QVERIFY(job.cancelled());
}
