#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "core/app/operator.h"
#include "gui/app/main_window.h"
#include "gui/check/backplot_view.h"
#include "gui/check/backplot_window.h"
#include "gui/check/check_program_action.h"
#include "gui/editor/draw_spline.h"
#include "gui/editor/program_files.h"
#include "gui/plot/message_label_widget.h"
#include "gui/plot/plot_grid.h"
#include "support/scripted_operator.h"
#include "temp_home.h"

using namespace ostrivane;
using namespace ostrivane::gui;

namespace {

const QRegularExpression kRunTime(QStringLiteral("Run time \\d+:\\d\\d:\\d\\d"));

// The widget of `type` under `root` whose accessible name is `name`.
template <typename T>
T* by_accessible_name(QWidget& root, const QString& name) {
    for (T* w : root.findChildren<T*>()) {
        if (QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name) == name)
            return w;
    }
    return nullptr;
}

// The main window with an editor wired to it as the program wires them, in a fresh data
// folder, every message box answered by a script.
struct Session {
    Session() {
        main = std::make_unique<TOstrivane>(&op);
        EditorLink link;
        link.fields = &main->fields();
        link.op = &op;
        link.data_folder = main->IniFilePath();
        link.tnd_file = [this] { return main->tnd_file().value_or(std::string()); };
        link.log = [this](std::string_view m, bool critical) { main->log(m, critical); };
        link.save_program = [this] { return files->SavesplineprogClick(); };
        editor = std::make_unique<TSplineform>(link);
        files = std::make_unique<ProgramFiles>(main.get(), main->fields(),
                                               dynamic_cast<FormAccess&>(main->fields()), op,
                                               main->IniFilePath(), *editor);
        for (QTimer* load : main->findChildren<QTimer*>(QStringLiteral("load_data_timer")) +
                                editor->findChildren<QTimer*>(QStringLiteral("load_data_timer")))
            QTRY_VERIFY(!load->isActive());
        main->findChild<QCheckBox*>(QStringLiteral("Write_log_screen"))->setChecked(true);
    }
    QPoint pixel(double x, double y) {
        float px = 0;
        float py = 0;
        editor->thegrita().ScreenCoords(x, y, px, py);
        return QPoint(qRound(px), qRound(py));
    }
    void key_at(double x, double y, Qt::Key key) {
        PlotGrid& plot = *editor->plot();
        QCursor::setPos(plot.mapToGlobal(pixel(x, y)));
        QTest::keyClick(&plot, key);
    }
    // Draws a small profile in the editor, saves it and presses F7 (no fast rough routine).
    void write_turning_program() {
        main->fields().set_text("Smot_name", "Baluster");
        main->fields().set_text("resolution", "10");
        editor->clear_picture();
        editor->load_data();
        editor->show();
        QVERIFY(QTest::qWaitForWindowExposed(editor.get()));
        QApplication::setActiveWindow(editor.get());
        for (const auto& [x, y] : std::vector<std::pair<double, double>>{
                 {20, 60}, {120, 40}, {220, 70}, {320, 30}, {420, 55}, {520, 45}})
            key_at(x, y, Qt::Key_F2);
        op.answer = Operator::Answer::Yes;
        QTest::mouseClick(editor->findChild<QPushButton*>(QStringLiteral("SaveBut")),
                          Qt::LeftButton);
        op.answer = Operator::Answer::No;  // the fast rough question
        key_at(300, 50, Qt::Key_F7);
    }
    QString log_text() const {
        return main->findChild<QPlainTextEdit*>(QStringLiteral("LogMemo"))->toPlainText();
    }

    test::QtTempHome home;
    test::ScriptedOperator op;
    std::unique_ptr<TOstrivane> main;
    std::unique_ptr<TSplineform> editor;
    std::unique_ptr<ProgramFiles> files;
};

// Answers the next file dialog with the file it has chosen already, pressing Enter in it.
void accept_next_file_dialog(QString& chosen) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, &chosen] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr)
            return;
        timer->stop();
        timer->deleteLater();
        chosen = dialog->selectedFiles().value(0);
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
    });
    timer->start();
}

}  // namespace

class CheckWindowTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void f7AndCheckProgramShowTheRunTimeAndStepThroughTheMoves();
    void writeGcodeFileTellsTheRunTime();
    void aLongSlotListScrollsWithinTheWindow();
    void scaleMarksAreRoundMillimetres();
};

void CheckWindowTest::f7AndCheckProgramShowTheRunTimeAndStepThroughTheMoves() {
    Session s;
    s.write_turning_program();
    const QString program = s.home.path() + QStringLiteral("/Documents/Baluster.ngc");
    QVERIFY(QFile::exists(program));
    // Told in the editor's message area and in the log, without a click.
    const QString told =
        s.editor->findChild<FadingMessageLabel*>(QStringLiteral("errlabel"))->text();
    QVERIFY2(told.startsWith(QStringLiteral("Check of Baluster.ngc: ")), qPrintable(told));
    QVERIFY(told.contains(kRunTime));
    // The program F7 writes cuts its own profile within the tolerance: no warning.
    QVERIFY2(told.contains(QStringLiteral("keeps within")), qPrintable(told));
    QVERIFY(s.op.errors.empty());
    QVERIFY(s.log_text().contains(told));
    s.editor->hide();

    // "Check program" offers the program just written and opens its backplot.
    s.main->show();
    QVERIFY(QTest::qWaitForWindowExposed(s.main.get()));
    auto* check = by_accessible_name<QPushButton>(*s.main, QStringLiteral("Check program"));
    QVERIFY(check != nullptr);
    QString chosen;
    accept_next_file_dialog(chosen);
    QTest::mouseClick(check, Qt::LeftButton);
    QCOMPARE(QFileInfo(chosen).canonicalFilePath(), QFileInfo(program).canonicalFilePath());
    QPointer<BackplotWindow> window = s.main->check_program().window();
    QVERIFY(window != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QApplication::setActiveWindow(window);

    auto* slider = by_accessible_name<QSlider>(*window, QStringLiteral("Move"));
    auto* position = by_accessible_name<QLabel>(*window, QStringLiteral("Run time to this move"));
    auto* verdict = by_accessible_name<QLabel>(*window, QStringLiteral("Verdict"));
    QVERIFY(slider != nullptr && position != nullptr && verdict != nullptr);
    QVERIFY(by_accessible_name<QPushButton>(*window, QStringLiteral("Close")) != nullptr);
    QCOMPARE(verdict->text(), told.mid(QStringLiteral("Check of Baluster.ngc: ").size()));
    const int moves = slider->maximum();
    QVERIFY(moves > 10);
    QVERIFY(position->text().startsWith(QStringLiteral("Before the first of")));

    // Keys go where the keyboard sends them: to the window's focus.
    const auto key = [&](Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); };
    QCOMPARE(QApplication::focusWidget(), slider);
    const auto run_time = [&] {
        return kRunTime
            .match(QStringLiteral("Run time ") +
                   position->text().section(QStringLiteral("run time "), 1))
            .captured();
    };
    // From the Close button too.
    by_accessible_name<QPushButton>(*window, QStringLiteral("Close"))->setFocus();
    key(Qt::Key_End);
    QCOMPARE(slider->value(), moves);
    slider->setFocus();
    QVERIFY(position->text().startsWith(QStringLiteral("Move %1 of %1, line ").arg(moves)));
    // The run time to the last move is the program's.
    QCOMPARE(run_time(), kRunTime.match(verdict->text()).captured());
    key(Qt::Key_Home);
    QCOMPARE(slider->value(), 0);
    key(Qt::Key_Right);
    QVERIFY(position->text().startsWith(QStringLiteral("Move 1 of ")));
    // Onwards as in a text: Right, Down and Page Down; back with Left, Up and Page Up.
    key(Qt::Key_PageDown);
    QCOMPARE(slider->value(), 1 + slider->pageStep());
    key(Qt::Key_Down);
    QCOMPARE(slider->value(), 2 + slider->pageStep());
    key(Qt::Key_Up);
    key(Qt::Key_PageUp);
    QCOMPARE(slider->value(), 1);
    key(Qt::Key_Left);
    QCOMPARE(slider->value(), 0);
    // A click on the groove's right end pages onwards.
    QTest::mouseClick(slider, Qt::LeftButton, {},
                      QPoint(slider->width() - 3, slider->height() / 2));
    QVERIFY(slider->value() > 0);
    if (const QByteArray shots = qgetenv("OSTRIVANE_TEST_SHOTS"); !shots.isEmpty()) {
        slider->setValue(moves / 2);
        window->grab().save(QString::fromLocal8Bit(shots) + QStringLiteral("/backplot.png"));
    }

    // The picture opens on the profile: the design fills the plot's width, give or take a
    // narrow margin, whatever way the saw travelled to and from the work.
    auto* view = window->findChild<BackplotView*>(QStringLiteral("BackplotView"));
    QVERIFY(view != nullptr);
    double lo = 1e300;
    double hi = -1e300;
    for (const EnvelopeSample& e : view->report().envelope) {
        if (e.design) {
            lo = std::min(lo, e.x);
            hi = std::max(hi, e.x);
        }
    }
    QVERIFY(hi > lo);
    QVERIFY(view->world().left() <= lo && view->world().right() >= hi);
    QVERIFY2((hi - lo) / view->world().width() > 0.9,
             qPrintable(QStringLiteral("%1 of %2 mm").arg(hi - lo).arg(view->world().width())));
    // Scales, their titles and the legend are around the plot, and named for those who hear it.
    QVERIFY(view->plot_area().left() > 40 && view->plot_area().bottom() < view->height() - 30);
    QVERIFY(view->accessibleName().contains(BackplotView::x_title()));
    QVERIFY(view->accessibleName().contains(QStringLiteral("overcut red")));

    key(Qt::Key_Escape);
    QTRY_VERIFY(window == nullptr);
}

void CheckWindowTest::scaleMarksAreRoundMillimetres() {
    const struct {
        double lo, hi;
        int at_most;
        std::vector<double> marks;
    } cases[] = {
        {0, 100, 5, {0, 20, 40, 60, 80, 100}},
        {-3.2, 41.7, 4, {0, 20, 40}},
        {12.3, 12.9, 3, {12.4, 12.6, 12.8}},
        {-1, -0.2, 2, {-1, -0.5}},
        {5, 5, 4, {}},
    };
    for (const auto& c : cases) {
        const std::vector<double> marks = scale_marks(c.lo, c.hi, c.at_most);
        QCOMPARE(marks.size(), c.marks.size());
        for (std::size_t i = 0; i < marks.size(); ++i)
            QVERIFY2(std::abs(marks[i] - c.marks[i]) < 1e-9,
                     qPrintable(QStringLiteral("%1 != %2").arg(marks[i]).arg(c.marks[i])));
    }
}

void CheckWindowTest::writeGcodeFileTellsTheRunTime() {
    Session s;
    QTest::mouseClick(s.main->findChild<QPushButton*>(QStringLiteral("write_mot")), Qt::LeftButton);
    QVERIFY(QFile::exists(s.home.path() + QStringLiteral("/Documents/Karvik.ngc")));
    const auto* status_label = s.main->statusBar()->findChild<QLabel*>(QStringLiteral("JobStatus"));
    QVERIFY(status_label != nullptr);
    QVERIFY(status_label->wordWrap());
    const QString status = status_label->text();
    QVERIFY2(status.startsWith(QStringLiteral("Check of Karvik.ngc: ")), qPrintable(status));
    QVERIFY(status.contains(kRunTime));
    QVERIFY2(status.contains(QStringLiteral("keeps within")), qPrintable(status));
    QVERIFY(s.log_text().contains(status));
}

// A finger joint's report lists every slot. Thousands of them scroll in the report's own few
// lines: the window keeps its size and its picture, and the last slot is still there.
void CheckWindowTest::aLongSlotListScrollsWithinTheWindow() {
    JobCheck check;
    check.report.kind = ProgramKind::finger_joint;
    check.report.moves = 40000;
    check.saw_width = 3.2;
    for (int k = 0; k < 20000; ++k) {
        const DesignSlot slot{10.0 * k, 10.0 * k + 5, 3};
        check.report.slots.push_back({slot, slot});
    }
    BackplotWindow window(check, {}, QStringLiteral("joint.ngc"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* report = by_accessible_name<QPlainTextEdit>(window, QStringLiteral("Check report"));
    QVERIFY(report != nullptr);
    QVERIFY(report->toPlainText().endsWith(
        QStringLiteral("cut 199990.000 to 199995.000 mm, 3.000 deep (designed 199990.000 to "
                       "199995.000, 3.000 deep).\nVerdict: within the tolerance of 0.050 mm.")));
    QVERIFY2(window.height() <= 600, qPrintable(QString::number(window.height())));
    QVERIFY(report->height() < window.height() / 3);
    QVERIFY(window.findChild<QWidget*>(QStringLiteral("BackplotView"))->height() >
            window.height() / 3);
}

QTEST_MAIN(CheckWindowTest)
#include "check_window_test.moc"
