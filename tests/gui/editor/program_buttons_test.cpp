#include <QApplication>
#include <QFileDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "core/app/state_file.h"
#include "core/curve/spline_file.h"
#include "core/text/file_io.h"
#include "gui/app/main_window.h"
#include "gui/editor/draw_spline.h"
#include "support/scripted_operator.h"
#include "temp_home.h"

using namespace ostrivane;
using namespace ostrivane::gui;

namespace {

// Runs `act` on the next modal window as soon as it shows.
void on_next_modal(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr)
            return;
        timer->stop();
        timer->deleteLater();
        act(modal);
    });
    timer->start();
}

void click(TOstrivane& w, const char* name) {
    auto* b = w.findChild<QPushButton*>(QString::fromLatin1(name));
    QVERIFY(b != nullptr);
    QVERIFY(b->isEnabled());
    for (int i = 0; i < w.tabs()->count(); ++i) {
        if (w.tabs()->widget(i)->isAncestorOf(b))
            w.tabs()->setCurrentIndex(i);
    }
    QCoreApplication::processEvents();
    QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
}

}  // namespace

class ProgramButtonsTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void editTheSplinesOpensTheEditorModally();
    void cancelledToothFileChoiceStillWritesTheSection();
    void saveProgramAsksWhenOnlyTheSplineFileExists();
};

void ProgramButtonsTest::editTheSplinesOpensTheEditorModally() {
    test::QtTempHome home;
    test::ScriptedOperator op;
    TOstrivane w(&op);
    w.show();
    // The editor's start-up load has run before the program changes under it.
    auto* load = w.findChild<QTimer*>(QStringLiteral("load_data_timer"));
    QVERIFY(load != nullptr);
    QTRY_VERIFY(!load->isActive());
    w.fields().set_text("Smot_name", "Karvik");
    SplineDocument doc;
    doc.profile.points = {{10, 20}, {30, 40}};
    write_file_atomically(w.IniFilePath() + "Karvik.spl", write_spline_file(doc));
    QString title;
    int points = -1;
    on_next_modal([&](QWidget* modal) {
        title = modal->windowTitle();
        points = static_cast<TSplineform*>(modal)->spline_pnts().profile.Nopoints;
        auto* done = modal->findChild<QPushButton*>(QStringLiteral("Button1"));
        QTest::mouseClick(done, Qt::LeftButton, {}, done->rect().center());
    });
    click(w, "DrawSpline");
    QCOMPARE(title, QStringLiteral("Draw spline"));
    QCOMPARE(points, 2);
    // Done saved the program: Karvik existed, so it asked first (the script says No).
    QCOMPARE(op.messages, std::vector<std::string>{"Karvik already exists. Overwrite ?"});
}

void ProgramButtonsTest::cancelledToothFileChoiceStillWritesTheSection() {
    test::QtTempHome home;
    test::ScriptedOperator op;
    TOstrivane w(&op);
    w.show();
    on_next_modal([](QWidget* modal) { QMetaObject::invokeMethod(modal, "reject"); });
    click(w, "loadtnd");
    const auto bytes = read_file(w.settings_file());
    QVERIFY(bytes.has_value());
    QCOMPARE(read_ini_key(*bytes, tnd_section, tnd_key), std::optional<std::string>(""));
}

void ProgramButtonsTest::saveProgramAsksWhenOnlyTheSplineFileExists() {
    test::QtTempHome home;
    test::ScriptedOperator op;
    TOstrivane w(&op);
    w.show();
    w.fields().set_text("Smot_name", "Karvik");
    write_file_atomically(w.IniFilePath() + "Karvik.spl", "old");
    op.answer = Operator::Answer::No;
    click(w, "Savesplineprog");
    QCOMPARE(op.messages, std::vector<std::string>{"Karvik already exists. Overwrite ?"});
    QCOMPARE(read_file(w.IniFilePath() + "Karvik.spl"), std::optional<std::string>("old"));
    QVERIFY(!read_file(w.IniFilePath() + "Karvik.gof").has_value());
    op.answer = Operator::Answer::Yes;
    click(w, "Savesplineprog");
    QVERIFY(read_file(w.IniFilePath() + "Karvik.gof").has_value());
    QCOMPARE(read_file(w.IniFilePath() + "Karvik.spl")->substr(0, 2), std::string("\x88\x27", 2));
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ProgramButtonsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "program_buttons_test.moc"
