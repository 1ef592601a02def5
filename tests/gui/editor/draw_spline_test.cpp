#include <QAccessible>
#include <QApplication>
#include <QCursor>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>
#include <functional>
#include <memory>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "core/app/form_state.h"
#include "core/app/main_window_fields.h"
#include "core/curve/spline_file.h"
#include "core/editor/editor_components.h"
#include "core/text/file_io.h"
#include "core/toolpath/turning_job.h"
#include "gui/app/main_window.h"
#include "gui/editor/draw_spline.h"
#include "gui/editor/program_files.h"
#include "gui/editor/spline_dialogs_qt.h"
#include "gui/plot/plot_grid.h"
#include "gui/widgets/frame_field.h"
#include "support/scripted_operator.h"
#include "temp_home.h"

using namespace ostrivane;
using namespace ostrivane::gui;

namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The main window, the editor and the program-file buttons wired as the program wires them,
// in a fresh data folder, with every message box answered by a script.
struct Session {
    Session() {
        main = std::make_unique<TOstrivane>(&op);
        make_editor();
    }
    void make_editor() {
        EditorLink link;
        link.fields = &main->fields();
        link.op = &op;
        link.data_folder = main->IniFilePath();
        link.tnd_file = [this] { return main->tnd_file().value_or(std::string()); };
        link.log = [this](std::string_view m, bool critical) {
            logged.emplace_back(m);
            main->log(m, critical);
        };
        link.save_program = [this] { return files->SavesplineprogClick(); };
        editor = std::make_unique<TSplineform>(link);
        files = std::make_unique<ProgramFiles>(
            main.get(), main->fields(), dynamic_cast<FormAccess&>(main->fields()), op,
            main->IniFilePath(), *editor, [this](ProgramFiles::Choice) { return chosen; });
        // Both editors (the main window's and this one) have run their start-up load.
        QList<QTimer*> loads = main->findChildren<QTimer*>(QStringLiteral("load_data_timer"));
        loads += editor->findChildren<QTimer*>(QStringLiteral("load_data_timer"));
        QCOMPARE(loads.size(), 2);
        for (QTimer* load : loads)
            QTRY_VERIFY(!load->isActive());
    }
    // Shows the editor as "Edit the splines" does, but without blocking the test.
    void open() {
        editor->clear_picture();
        editor->load_data();
        editor->show();
        QVERIFY(QTest::qWaitForWindowExposed(editor.get()));
        QApplication::setActiveWindow(editor.get());
        QCoreApplication::processEvents();
    }
    PlotGrid& plot() { return *editor->plot(); }
    // The plot pixel of a world position.
    QPoint pixel(double x, double y) {
        float px = 0;
        float py = 0;
        editor->thegrita().ScreenCoords(x, y, px, py);
        return QPoint(qRound(px), qRound(py));
    }
    void key_at(QPoint at, Qt::Key key, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QCursor::setPos(plot().mapToGlobal(at));
        QTest::keyClick(&plot(), key, m);
    }
    void click_plot(QPoint at) { QTest::mouseClick(&plot(), Qt::LeftButton, {}, at); }
    template <typename T>
    T* child(const char* name) {
        return editor->findChild<T*>(QString::fromLatin1(name));
    }
    void click_button(const char* name) {
        QAbstractButton* b = child<QAbstractButton>(name);
        QVERIFY(b != nullptr);
        QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
    }
    std::string data(const std::string& file) { return main->IniFilePath() + file; }

    test::QtTempHome home;
    test::ScriptedOperator op;
    std::unique_ptr<TOstrivane> main;
    std::unique_ptr<TSplineform> editor;
    std::unique_ptr<ProgramFiles> files;
    std::optional<std::string> chosen;
    std::vector<std::string> logged;
};

// Runs `act` on the next modal dialog as soon as it shows.
void on_next_dialog(std::function<void(QDialog*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr)
            return;
        timer->stop();
        timer->deleteLater();
        act(dialog);
    });
    timer->start();
}

QLineEdit* edit_of(QDialog* dialog, const char* field) {
    return dialog->findChild<TFrame1*>(QString::fromLatin1(field))->Ed();
}

void press(QDialog* dialog, const char* text) {
    for (auto* b : dialog->findChildren<QPushButton*>()) {
        if (b->text() == QLatin1String(text)) {
            QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
            return;
        }
    }
    QFAIL("no such button");
}

}  // namespace

class DrawSplineTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void layoutControlsAndAccessibleNames();
    void commandBoxShowsTheCommandList();
    void startUpLoadRestoresTheVisualisationFields();
    void visualisationFieldsMoveTheDrawingAsTyped();
    void keysActAtThePointerOverThePlot();
    void mouseToolsAddSelectAndCut();
    void dialogsPresetFromThePointerAndKeepTheirTexts();
    void badDialogEntryKeepsTheDialogOpen();
    void undoAndRedoKeys();
    void doneSavesTheProgramPairReadByTheCommandLine();
    void cancelAfterAnEditAsksBeforeDiscarding();
    void saveAsksBeforeReplacingAnExistingSplineFile();
    void openingReadsTheProgramsSplineFileOrKeepsThePoints();
    void loadProgramTakesTheSplineFileFromTheDataFolder();
    void badJobFieldKeepsTheEditorClosed();
    void importThroughTheFileDialog();
    void secondSplineWithoutAToothFileIsTold();
    void activationKeepsTheSimulationAResizeClearsIt();
    void shadingDrawsOnTheBitmapWithTheProgressBar();
    void closingDuringShadingStopsItFirst();
    void editsWaitWhileAJobRuns();
    void f7WritesTheProgramOfTheCommandLine();
    void pipesInTheDataFolderDoNotHoldTheEditor();
    void readoutAndMessageLetTheMouseThroughToThePlot();
    void readoutStaysReadableOnTheShading();
    void wheelZoomsAboutThePointerAndTheMiddleButtonPans();
    void positionsOutsideTheWorkingRangeAreRefused();
    void unusableVisualisationValuesAreNeverStored();
    void discardedEditsStayDiscarded();
    void declinedOverwriteOnDoneKeepsTheEdits();
    void loadingMoreThanThePointLimitSaysHowManyWereDropped();
    void escapeStopsAShadingAndAFarZoomShadesPromptly();
    void aJobWithoutMovesIsReportedAsFailed();
};

void DrawSplineTest::layoutControlsAndAccessibleNames() {
    Session s;
    TSplineform& w = *s.editor;
    QCOMPARE(w.windowTitle(), QStringLiteral("Draw spline"));
    for (const char* text : {"Done", "Cancel", "Show commands", "Save", "Import"}) {
        bool found = false;
        for (auto* b : w.findChildren<QPushButton*>())
            found = found || (b->text() == QLatin1String(text) && b->accessibleName() == b->text());
        QVERIFY2(found, text);
    }
    const std::vector<std::pair<const char*, const char*>> tools = {
        {"abut", "Add spline points"},
        {"cutbut", "Removes selected items"},
        {"zoombut", "Zoom"},
        {"movbut", "Move"},
        {"sbut", "Select"}};
    for (const auto& [name, hint] : tools) {
        auto* b = s.child<QToolButton>(name);
        QVERIFY(b != nullptr);
        QCOMPARE(b->toolTip(), QString::fromLatin1(hint));
        QCOMPARE(b->accessibleName(), QString::fromLatin1(hint));
        QCOMPARE(b->size(), QSize(46, 46));
        // A tool stays chosen, so it shows as pressed; the cut button acts once.
        QCOMPARE(b->isCheckable(), std::string_view(name) != "cutbut");
    }
    QVERIFY(!s.child<QToolButton>("cutbut")->isEnabled());
    auto* axis = s.child<TFrame1>("axispos");
    QCOMPARE(axis->Ed()->text(), QStringLiteral("100"));
    QCOMPARE(axis->Ed()->accessibleName(), QStringLiteral("Turn axis position (mm)"));
    QCOMPARE(s.child<TFrame1>("beamthick")->Ed()->accessibleName(),
             QStringLiteral("Beam thickness (mm)"));
    QVERIFY(!s.child<QWidget>("ProgressBar1")->isVisible());
    // The start-up load runs before the window is first shown, yet the view already has the
    // plot's real proportions (594 x 304): the whole length, centred on the axis.
    QCOMPARE(s.plot().size(), QSize(594, 304));
    QCOMPARE(s.child<QLabel>("LabelX")->text(), QStringLiteral("X 1500.00 mm"));
    QCOMPARE(s.child<QLabel>("LabelY")->text(), QStringLiteral("Y 483.84 mm"));
    // Assistive tools see the plot as a picture they can point into.
    QAccessibleInterface* plot = QAccessible::queryAccessibleInterface(&s.plot());
    QVERIFY(plot != nullptr);
    QCOMPARE(plot->role(), QAccessible::Graphic);
    QCOMPARE(plot->text(QAccessible::Name), QStringLiteral("Spline plot"));
}

void DrawSplineTest::commandBoxShowsTheCommandList() {
    Session s;
    s.open();
    auto* box = s.child<QWidget>("CalloutPanel1");
    QVERIFY(!box->isVisible());
    QTest::keyClick(&s.plot(), Qt::Key_F1);
    QVERIFY(box->isVisible());
    // Two columns, keys and what they do, including the keys beyond the letters and F-keys.
    auto* table = s.child<QTableWidget>("Memo1");
    QVERIFY(table != nullptr);
    QCOMPARE(table->accessibleName(), QStringLiteral("Commands"));
    QCOMPARE(table->columnCount(), 2);
    QMap<QString, QString> commands;
    for (int row = 0; row < table->rowCount(); ++row)
        commands.insert(table->item(row, 0)->text(), table->item(row, 1)->text());
    QCOMPARE(commands.value(QStringLiteral("Alt+D")), QStringLiteral("Add point at coordinate"));
    QCOMPARE(commands.value(QStringLiteral("F11")), QStringLiteral("Zoom to the beam"));
    QCOMPARE(commands.value(QStringLiteral("Ctrl+Z")), QStringLiteral("Undo"));
    QCOMPARE(commands.value(QStringLiteral("Ctrl+Shift+Z, Ctrl+Y")), QStringLiteral("Redo"));
    QVERIFY(table->editTriggers() == QAbstractItemView::NoEditTriggers);
    s.click_button("Button5");
    QVERIFY(!box->isVisible());
    s.click_button("Button3");
    QVERIFY(box->isVisible());
}

void DrawSplineTest::startUpLoadRestoresTheVisualisationFields() {
    Session s;
    s.open();
    s.child<TFrame1>("axispos")->Ed()->setText(QStringLiteral("150"));
    s.child<TFrame1>("beamthick")->Ed()->setText(QStringLiteral("60"));
    s.editor->reject();  // every close writes drawspline.ini
    QVERIFY(QFile::exists(QString::fromStdString(s.data("drawspline.ini"))));
    s.make_editor();
    QCOMPARE(s.child<TFrame1>("axispos")->Ed()->text(), QStringLiteral("150"));
    QCOMPARE(s.child<TFrame1>("beamthick")->Ed()->text(), QStringLiteral("60"));
    // The next load centres the view on the restored axis.
    s.open();
    QCOMPARE(s.editor->spline_pnts().job.draaias, 150.0);
    QCOMPARE(s.editor->thegrita().WindowBounds.ymi + s.editor->thegrita().WindowBounds.yma, 300.0);
}

void DrawSplineTest::visualisationFieldsMoveTheDrawingAsTyped() {
    Session s;
    s.open();
    const auto view = s.editor->thegrita().WindowBounds;
    QLineEdit* axis = s.child<TFrame1>("axispos")->Ed();
    axis->setFocus();
    axis->selectAll();
    QTest::keyClicks(axis, QStringLiteral("12"));
    QCOMPARE(s.editor->spline_pnts().job.draaias, 12.0);
    QTest::keyClick(axis, Qt::Key_0);
    QCOMPARE(s.editor->spline_pnts().job.draaias, 120.0);
    QCOMPARE(s.editor->thegrita().WindowBounds.ymi, view.ymi);  // the view stays
    // Emptying the field on the way to a new number says nothing; the axis stays where the
    // last number the field showed put it...
    for (int k = 0; k < 3; ++k)
        QTest::keyClick(axis, Qt::Key_Backspace);
    QVERIFY(s.op.errors.empty());
    QCOMPARE(s.editor->spline_pnts().job.draaias, 1.0);
    // ...until the operator confirms it.
    QTest::keyClick(axis, Qt::Key_Return);
    QCOMPARE(s.op.errors.size(), std::size_t{1});
    QVERIFY(QString::fromStdString(s.op.errors[0]).contains(QStringLiteral("Turn axis")));
    QLineEdit* beam = s.child<TFrame1>("beamthick")->Ed();
    beam->setFocus();
    beam->selectAll();
    QTest::keyClicks(beam, QStringLiteral("60"));
    QCOMPARE(s.editor->spline_pnts().job.thickness, 60.0);
}

void DrawSplineTest::keysActAtThePointerOverThePlot() {
    Session s;
    s.open();
    auto& engine = s.editor->spline_pnts();
    s.key_at(s.pixel(100, 80), Qt::Key_F2);
    QCOMPARE(engine.profile.Nopoints, 1);
    s.key_at(s.pixel(300, 90), Qt::Key_F2, Qt::ShiftModifier);
    QCOMPARE(engine.profile.Nopoints, 2);
    // Outside the plot nothing happens.
    QCursor::setPos(s.plot().mapToGlobal(QPoint(-20, -20)));
    QTest::keyClick(&s.plot(), Qt::Key_F2);
    QCOMPARE(engine.profile.Nopoints, 2);
    // A letter without ALT is typing, not a command.
    s.key_at(s.pixel(200, 50), Qt::Key_Q);
    QCOMPARE(s.editor->editor().moves.Movecount, 0);
    s.key_at(s.pixel(200, 50), Qt::Key_Q, Qt::AltModifier);
    QCOMPARE(s.editor->editor().moves.Movecount, 1);
    // ALT A without the second spline says so on the message label.
    s.key_at(s.pixel(200, 50), Qt::Key_A, Qt::AltModifier);
    QCOMPARE(s.child<QLabel>("errlabel")->text(),
             QStringLiteral("Second spline is not activated.."));
    // ESC is a command, not a way out of the window.
    QTest::keyClick(&s.plot(), Qt::Key_Escape);
    QVERIFY(s.editor->isVisible());
    // TAB draws with more lines instead of moving the focus.
    QTest::keyClick(&s.plot(), Qt::Key_Tab);
    QCOMPARE(engine.profile.NumIntervals, 40);
    // F10 mirrors the profile about its mean height.
    s.key_at(s.pixel(200, 50), Qt::Key_F10);
    QCOMPARE(engine.profile.Y.Tomatch[0], engine.profile.Y.Tomatch[0]);
    QVERIFY(engine.profile.Y.Tomatch[0] > engine.profile.Y.Tomatch[1]);
}

void DrawSplineTest::mouseToolsAddSelectAndCut() {
    Session s;
    s.open();
    auto& engine = s.editor->spline_pnts();
    s.click_button("abut");
    QVERIFY(s.child<QToolButton>("abut")->isChecked());
    for (double x : {100.0, 200.0, 300.0})
        s.click_plot(s.pixel(x, 50));
    QCOMPARE(engine.profile.Nopoints, 3);
    s.click_button("sbut");
    QVERIFY(!s.child<QToolButton>("abut")->isChecked());
    QVERIFY(s.child<QToolButton>("sbut")->isChecked());
    // Screen readers see the pressed tool.
    QAccessibleInterface* sbut =
        QAccessible::queryAccessibleInterface(s.child<QToolButton>("sbut"));
    QVERIFY(sbut->state().checkable && sbut->state().checked);
    s.click_plot(s.pixel(150, 0));
    QTest::mouseMove(&s.plot(), s.pixel(250, 100));
    s.click_plot(s.pixel(250, 100));
    QVERIFY(engine.profile.selected[1]);
    // A completed selection puts the tool down.
    QVERIFY(!s.child<QToolButton>("sbut")->isChecked());
    QVERIFY(s.child<QToolButton>("cutbut")->isEnabled());
    s.click_button("cutbut");
    QCOMPARE(engine.profile.Nopoints, 2);
    QCOMPARE(engine.profile.X.Tomatch[1], engine.profile.X.Tomatch[1]);
    QVERIFY(engine.profile.X.Tomatch[1] > 250);
    // The coordinate labels follow the mouse with no tool active.
    QTest::mouseMove(&s.plot(), s.pixel(500, 20));
    const QString label = s.child<QLabel>("LabelX")->text();
    QVERIFY2(label.startsWith(QStringLiteral("X ")) && label.endsWith(QStringLiteral(" mm")),
             qPrintable(label));
    QVERIFY(qAbs(label.section(QLatin1Char(' '), 1, 1).toDouble() - 500) < 5);
    QCOMPARE(label.section(QLatin1Char(' '), 1, 1).section(QLatin1Char('.'), 1).size(), 3);
}

void DrawSplineTest::dialogsPresetFromThePointerAndKeepTheirTexts() {
    Session s;
    s.open();
    auto& engine = s.editor->spline_pnts();
    // ALT D: cancelled, then accepted with typed coordinates.
    QString preset;
    on_next_dialog([&](QDialog* d) {
        preset = edit_of(d, "Position_X")->text();
        edit_of(d, "Position_X")->setText(QStringLiteral("42.5"));
        press(d, "Cancel");
    });
    s.key_at(s.pixel(400, 10), Qt::Key_D, Qt::AltModifier);
    QCOMPARE(engine.profile.Nopoints, 0);
    QVERIFY2(qAbs(preset.toDouble() - 400) < 5, qPrintable(preset));
    QCOMPARE(edit_of(&s.editor->dialogs().point(), "Position_X")->text(), QStringLiteral("42.5"));
    on_next_dialog([&](QDialog* d) {
        edit_of(d, "Position_X")->setText(QStringLiteral("42.5"));
        edit_of(d, "Position_Y")->setText(QStringLiteral("7"));
        press(d, "OK");
    });
    s.key_at(s.pixel(400, 10), Qt::Key_D, Qt::AltModifier);
    QCOMPARE(engine.profile.Nopoints, 1);
    QCOMPARE(engine.profile.X.Tomatch[0], 42.5);
    QCOMPARE(engine.profile.Y.Tomatch[0], 7.0);

    // ALT C keeps the diameter typed the first time.
    on_next_dialog([&](QDialog* d) {
        edit_of(d, "circle_diam")->setText(QStringLiteral("20"));
        edit_of(d, "support_points")->setText(QStringLiteral("2"));
        edit_of(d, "Position_X")->setText(QStringLiteral("600"));
        edit_of(d, "Position_Y")->setText(QStringLiteral("0"));
        press(d, "OK");
    });
    s.key_at(s.pixel(600, 0), Qt::Key_C, Qt::AltModifier);
    QCOMPARE(engine.profile.Nopoints, 4);
    QString diameter;
    on_next_dialog([&](QDialog* d) {
        diameter = edit_of(d, "circle_diam")->text();
        press(d, "Cancel");
    });
    s.key_at(s.pixel(600, 0), Qt::Key_C, Qt::AltModifier);
    QCOMPARE(diameter, QStringLiteral("20"));

    // F8 presets the nearest point's shape values.
    QString tension;
    on_next_dialog([&](QDialog* d) {
        tension = edit_of(d, "Tension")->text();
        edit_of(d, "Tension")->setText(QStringLiteral("2"));
        edit_of(d, "Bias")->setText(QStringLiteral("3"));
        press(d, "OK");
    });
    s.key_at(s.pixel(42.5, 7), Qt::Key_F8);
    QCOMPARE(tension, QStringLiteral("1"));
    QCOMPARE(engine.profile.alpha1[0], 2.0);
    QCOMPARE(engine.profile.alpha2[0], 3.0);
}

void DrawSplineTest::badDialogEntryKeepsTheDialogOpen() {
    Session s;
    s.open();
    bool still_open = false;
    on_next_dialog([&](QDialog* d) {
        edit_of(d, "Position_X")->setText(QStringLiteral("1,5"));
        press(d, "OK");
        still_open = d->isVisible();
        press(d, "Cancel");
    });
    s.key_at(s.pixel(400, 10), Qt::Key_D, Qt::AltModifier);
    QVERIFY(still_open);
    QVERIFY(!s.op.messages.empty());
    QCOMPARE(QString::fromStdString(s.op.messages.back()),
             QStringLiteral("1,5 inside Position X (mm) is not a valid floating point number."));
    QCOMPARE(s.editor->spline_pnts().profile.Nopoints, 0);
}

void DrawSplineTest::undoAndRedoKeys() {
    Session s;
    s.open();
    auto& engine = s.editor->spline_pnts();
    s.key_at(s.pixel(100, 10), Qt::Key_F2);
    s.key_at(s.pixel(200, 10), Qt::Key_F2);
    QTest::keyClick(&s.plot(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(engine.profile.Nopoints, 1);
    QTest::keyClick(&s.plot(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(engine.profile.Nopoints, 2);
    QTest::keyClick(&s.plot(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&s.plot(), Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(engine.profile.Nopoints, 2);
}

void DrawSplineTest::doneSavesTheProgramPairReadByTheCommandLine() {
    Session s;
    s.main->fields().set_text("Smot_name", "Karvik");
    s.open();
    s.key_at(s.pixel(100, 10), Qt::Key_F2);
    s.key_at(s.pixel(300, 30), Qt::Key_F2);
    s.key_at(s.pixel(500, 50), Qt::Key_Q, Qt::AltModifier);
    s.click_button("Button1");
    QVERIFY(!s.editor->isVisible());
    QCOMPARE(s.editor->result(), int(QDialog::Accepted));
    QVERIFY(s.op.messages.empty());  // nothing to replace, nothing asked
    const auto spl = read_file(s.data("Karvik.spl"));
    QVERIFY(spl.has_value());
    QCOMPARE(spl->size(), size_t(2 + (6 + 32 * 2) + 2 + 6 + (4 + 16)));
    QCOMPARE(*spl, s.editor->spline_file());
    const auto gof = read_file(s.data("Karvik.gof"));
    QVERIFY(gof.has_value());
    QCOMPARE(*gof, save_form_state(main_window_components(),
                                   dynamic_cast<FormAccess&>(s.main->fields())));

    QProcess cli;
    cli.start(QStringLiteral(OSTRIVANE_CLI_PATH),
              {QStringLiteral("spline"), QStringLiteral("show"), qs(s.data("Karvik.spl"))});
    QVERIFY(cli.waitForFinished(20000));
    QCOMPARE(cli.exitCode(), 0);
    const QByteArray out = cli.readAllStandardOutput();
    QVERIFY2(out.contains("\"moves\""), out.constData());
}

void DrawSplineTest::cancelAfterAnEditAsksBeforeDiscarding() {
    Session s;
    s.open();
    s.click_button("Button2");  // nothing changed: closes without a question
    QVERIFY(!s.editor->isVisible());
    QVERIFY(s.op.messages.empty());
    s.open();
    s.key_at(s.pixel(100, 10), Qt::Key_F2);
    s.op.answer = Operator::Answer::No;
    s.click_button("Button2");
    QCOMPARE(s.op.messages, std::vector<std::string>{"Discard the changes to the splines?"});
    QVERIFY(s.editor->isVisible());
    s.editor->close();  // the window's close button asks the same
    QCOMPARE(s.op.messages.size(), size_t(2));
    QVERIFY(s.editor->isVisible());
    s.op.answer = Operator::Answer::Yes;
    s.click_button("Button2");
    QVERIFY(!s.editor->isVisible());
    QCOMPARE(s.editor->result(), int(QDialog::Rejected));
    QVERIFY(!QFile::exists(QString::fromStdString(s.data("GCODE.spl"))));
}

void DrawSplineTest::saveAsksBeforeReplacingAnExistingSplineFile() {
    Session s;
    s.main->fields().set_text("Smot_name", "Karvik");
    write_file_atomically(s.data("Karvik.spl"), "old");
    s.open();
    s.key_at(s.pixel(100, 10), Qt::Key_F2);
    s.op.answer = Operator::Answer::No;
    s.click_button("SaveBut");
    QCOMPARE(s.op.messages, std::vector<std::string>{"Karvik already exists. Overwrite ?"});
    QCOMPARE(read_file(s.data("Karvik.spl")), std::optional<std::string>("old"));
    QVERIFY(!QFile::exists(qs(s.data("Karvik.gof"))));
    s.op.answer = Operator::Answer::Yes;
    s.click_button("SaveBut");
    QCOMPARE(read_file(s.data("Karvik.spl")), std::optional<std::string>(s.editor->spline_file()));
    QVERIFY(s.editor->isVisible());
    // Saved: a cancel has nothing to discard.
    s.op.messages.clear();
    s.click_button("Button2");
    QVERIFY(s.op.messages.empty());
}

void DrawSplineTest::openingReadsTheProgramsSplineFileOrKeepsThePoints() {
    Session s;
    s.open();
    auto& engine = s.editor->spline_pnts();
    s.key_at(s.pixel(100, 10), Qt::Key_F2);
    s.editor->hide();
    // No spline file for this program: the points stay.
    s.open();
    QCOMPARE(engine.profile.Nopoints, 1);
    s.editor->hide();
    // A file of 1200 points leaves 1000.
    SplineDocument doc;
    for (int k = 0; k < 1200; ++k)
        doc.profile.points.push_back({static_cast<double>(k), 5});
    const std::string name = s.main->fields().text("Smot_name");
    write_file_atomically(s.data(name + ".spl"), write_spline_file(doc));
    s.open();
    QCOMPARE(engine.profile.Nopoints, 1000);
    QVERIFY(!s.editor->editor().modified());
}

void DrawSplineTest::loadProgramTakesTheSplineFileFromTheDataFolder() {
    Session s;
    // A program saved elsewhere names "Pelmo"; its spline file lives in the data folder.
    s.main->fields().set_text("Smot_name", "Pelmo");
    const std::string other = s.home.path().toStdString() + "/Pelmo.gof";
    write_file_atomically(other, save_form_state(main_window_components(),
                                                 dynamic_cast<FormAccess&>(s.main->fields())));
    SplineDocument doc;
    doc.profile.points = {{1, 2}, {3, 4}, {5, 6}};
    doc.moves.Movecount = 1;
    doc.moves.Movements[1] = {7, 8};
    write_file_atomically(s.data("Pelmo.spl"), write_spline_file(doc));
    s.main->fields().set_text("Smot_name", "GCODE");
    s.chosen = other;
    s.files->LoadsplineprogClick();
    QCOMPARE(QString::fromStdString(s.main->fields().text("Smot_name")), QStringLiteral("Pelmo"));
    QCOMPARE(s.editor->spline_pnts().profile.Nopoints, 3);
    QCOMPARE(s.editor->editor().moves.Movecount, 1);
}

void DrawSplineTest::badJobFieldKeepsTheEditorClosed() {
    Session s;
    s.main->fields().set_text("Ssaw_width", "3,2");
    bool thrown = false;
    try {
        s.files->DrawSplineClick();
    } catch (const std::exception& e) {
        thrown = true;
        QVERIFY(QString::fromUtf8(e.what()).contains(QStringLiteral("is not a valid floating")));
    }
    QVERIFY(thrown);
    QVERIFY(!s.editor->isVisible());
}

void DrawSplineTest::importThroughTheFileDialog() {
    Session s;
    s.open();
    const QString file = s.home.path() + QStringLiteral("/points.txt");
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("10;5\nno semicolon\n20 ; 7\n");
    f.close();
    // The notice goes through the scripted operator, so only the file dialog is modal.
    on_next_dialog([&](QDialog* d) {
        auto* chooser = qobject_cast<QFileDialog*>(d);
        if (chooser == nullptr)
            return;
        chooser->selectFile(file);
        QMetaObject::invokeMethod(chooser, "accept");
    });
    s.click_button("Import");
    QCOMPARE(s.op.messages.front(),
             std::string("This will import a textfile with X;Y coordinates seperated by \";\""));
    QCOMPARE(s.editor->spline_pnts().profile.Nopoints, 2);
    QCOMPARE(s.editor->spline_pnts().profile.Y.Tomatch[1], 7.0);
}

void DrawSplineTest::secondSplineWithoutAToothFileIsTold() {
    Session s;
    auto* doublet = s.main->findChild<QAbstractButton*>(QStringLiteral("doublet"));
    doublet->setChecked(true);
    s.open();
    QCOMPARE(s.op.messages,
             std::vector<std::string>{
                 "You did not specify a TND file,\rSecond spline has not use this way"});
    // The second spline is there to work on all the same.
    s.key_at(s.pixel(100, 10), Qt::Key_A, Qt::AltModifier);
    QCOMPARE(s.child<QLabel>("errlabel")->text(), QStringLiteral("Working on spline 2."));
    s.key_at(s.pixel(100, 10), Qt::Key_F2);
    QCOMPARE(s.editor->spline_pnts().spline2.Nopoints, 1);
    // Every opening starts on spline 1 again.
    s.editor->hide();
    s.open();
    s.key_at(s.pixel(200, 10), Qt::Key_F2);
    QCOMPARE(s.editor->spline_pnts().profile.Nopoints, 1);
}

void DrawSplineTest::activationKeepsTheSimulationAResizeClearsIt() {
    Session s;
    s.open();
    s.editor->bitmap().setPixel(5, 5, qRgba(10, 20, 30, 255));
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(s.editor.get(), &activate);
    QCOMPARE(qAlpha(s.editor->bitmap().pixel(5, 5)), 255);
    s.editor->resize(s.editor->width() + 40, s.editor->height() + 20);
    QCoreApplication::processEvents();
    QCOMPARE(s.editor->bitmap().size(), s.plot().size());
    QCOMPARE(qAlpha(s.editor->bitmap().pixel(5, 5)), 0);
}

namespace {

// A baluster-like profile of a few points, added at the pointer as the operator would.
void draw_profile(Session& s) {
    for (const auto& [x, y] : std::vector<std::pair<double, double>>{
             {20, 60}, {120, 40}, {220, 70}, {320, 30}, {420, 55}, {520, 45}})
        s.key_at(s.pixel(x, y), Qt::Key_F2);
}

int opaque_pixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) != 0;
    return count;
}

}  // namespace

void DrawSplineTest::shadingDrawsOnTheBitmapWithTheProgressBar() {
    Session s;
    s.open();
    draw_profile(s);
    QVERIFY(opaque_pixels(s.editor->bitmap()) == 0);
    bool bar_shown = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        bar_shown = bar_shown || s.child<QWidget>("ProgressBar1")->isVisible();
    });
    watch.start(1);
    s.key_at(s.pixel(300, 50), Qt::Key_S, Qt::AltModifier);
    QVERIFY(opaque_pixels(s.editor->bitmap()) > 1000);
    QVERIFY(!s.child<QWidget>("ProgressBar1")->isVisible());
    QVERIFY(!s.editor->spline_pnts().shaderunning);
    Q_UNUSED(bar_shown);  // the bar shows only when a pump comes late enough to be seen
    // Zoom-all clears the picture.
    QTest::keyClick(&s.plot(), Qt::Key_F3);
    QCOMPARE(opaque_pixels(s.editor->bitmap()), 0);
}

void DrawSplineTest::closingDuringShadingStopsItFirst() {
    Session s;
    s.open();
    draw_profile(s);
    // Close from inside the shading, at its first pause for events.
    s.op.answer = Operator::Answer::Yes;  // discard the new points
    bool asked_while_running = false;
    QTimer::singleShot(0, [&] {
        asked_while_running = s.editor->spline_pnts().shaderunning;
        s.click_button("Button2");
    });
    s.key_at(s.pixel(300, 50), Qt::Key_S, Qt::AltModifier);
    QVERIFY(asked_while_running);
    {
        // The close waited for the shading, which stopped after its current column.
        QVERIFY(!s.editor->spline_pnts().shaderunning);
        QVERIFY(s.editor->spline_pnts().closing);
    }
    QTRY_VERIFY(!s.editor->isVisible());
    QCOMPARE(s.editor->result(), int(QDialog::Rejected));
    QVERIFY(QFile::exists(qs(s.data("drawspline.ini"))));
}

void DrawSplineTest::editsWaitWhileAJobRuns() {
    Session s;
    s.open();
    draw_profile(s);
    const int before = s.editor->spline_pnts().profile.Nopoints;
    bool running = false;
    QTimer::singleShot(0, [&] {
        running = s.editor->spline_pnts().shaderunning;
        s.key_at(s.pixel(700, 50), Qt::Key_F2);
        s.click_button("abut");
        s.click_plot(s.pixel(750, 50));
    });
    s.key_at(s.pixel(300, 50), Qt::Key_S, Qt::AltModifier);
    QVERIFY(running);
    QCOMPARE(s.editor->spline_pnts().profile.Nopoints, before);
    // Afterwards the keys work again.
    s.key_at(s.pixel(700, 50), Qt::Key_F2);
    QCOMPARE(s.editor->spline_pnts().profile.Nopoints, before + 1);
}

void DrawSplineTest::f7WritesTheProgramOfTheCommandLine() {
    Session s;
    s.main->fields().set_text("Smot_name", "Baluster");
    s.main->fields().set_text("resolution", "10");
    s.open();
    draw_profile(s);
    s.key_at(s.pixel(600, 10), Qt::Key_Q, Qt::AltModifier);
    s.op.answer = Operator::Answer::Yes;
    s.click_button("SaveBut");
    s.op.messages.clear();
    s.op.answer = Operator::Answer::No;  // the fast rough question
    s.key_at(s.pixel(300, 50), Qt::Key_F7);
    QVERIFY(!s.op.messages.empty());
    QCOMPARE(QString::fromStdString(s.op.messages.front()).left(40),
             QString::fromLatin1(kFastRoughQuestion).left(40));
    const QString window_file = s.home.path() + QStringLiteral("/Documents/Baluster.ngc");
    QVERIFY(QFile::exists(window_file));

    const QString cli_file = s.home.path() + QStringLiteral("/cli.ngc");
    QProcess cli;
    cli.start(QStringLiteral(OSTRIVANE_CLI_PATH),
              {QStringLiteral("turn"), QStringLiteral("--program"), qs(s.data("Baluster.gof")),
               QStringLiteral("--spline"), qs(s.data("Baluster.spl")), QStringLiteral("--fast"),
               QStringLiteral("no"), QStringLiteral("--output"), cli_file});
    QVERIFY(cli.waitForFinished(60000));
    QCOMPARE(cli.exitCode(), 0);
    QFile a(window_file);
    QFile b(cli_file);
    QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    const QByteArray window_bytes = a.readAll();
    QVERIFY(window_bytes.size() > 200);
    QCOMPARE(window_bytes, b.readAll());
    // The simulation shows the saws it wrote.
    QVERIFY(opaque_pixels(s.editor->bitmap()) > 0);
}

void DrawSplineTest::pipesInTheDataFolderDoNotHoldTheEditor() {
#ifdef _WIN32
    QSKIP("pipes are not made in the file system here");
#else
    Session s;
    // Each would have held the editor's opening, its shading or its start-up load for good.
    for (const char* name : {"saw_def.txt", "pelmo.gul", "drawspline.ini"})
        QCOMPARE(::mkfifo(s.data(name).c_str(), 0644), 0);
    s.logged.clear();
    s.make_editor();
    s.open();
    const std::string pipe = ": it is a pipe (fifo), not a regular file.";
    const std::string outline = "Cannot read file " + s.data("saw_def.txt") + pipe +
                                " For this reason assuming sawblade only";
    QVERIFY(std::find(s.logged.begin(), s.logged.end(), outline) != s.logged.end());
    draw_profile(s);
    s.op.errors.clear();
    s.key_at(s.pixel(300, 50), Qt::Key_S, Qt::AltModifier);
    QCOMPARE(s.op.errors,
             std::vector<std::string>{"Cannot read file " + s.data("pelmo.gul") + pipe});
    QVERIFY(!s.editor->spline_pnts().shaderunning);
#endif
}

namespace {

// A mouse event as the window system delivers it: to whatever lies at that point of the window.
void press_in_window(QWidget* window, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(window->windowHandle(), button, {}, at);
}

void wheel(PlotGrid& plot, QPoint at, int eighths) {
    QWheelEvent e(QPointF(at), QPointF(plot.mapToGlobal(at)), QPoint(), QPoint(0, eighths),
                  Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&plot, &e);
}

}  // namespace

void DrawSplineTest::readoutAndMessageLetTheMouseThroughToThePlot() {
    Session s;
    s.open();
    auto* readout = s.child<QWidget>("CoordinateReadout");
    auto* message = s.child<QLabel>("errlabel");
    s.key_at(s.pixel(100, 10), Qt::Key_A, Qt::AltModifier);  // a message to lie over the plot
    QVERIFY(message->isVisible() && !message->text().isEmpty());
    QWidget* window = s.editor.get();
    const QPoint on_readout = readout->mapTo(window, readout->rect().center());
    const QPoint on_message = message->mapTo(window, message->rect().center());
    // Moving over the read-out still moves the read-out.
    // (The pointer is put there too: Qt repeats a move where it believes the pointer is.)
    QCursor::setPos(window->mapToGlobal(on_readout));
    QTest::mouseMove(window->windowHandle(), on_readout);
    const QPoint plot_at = s.plot().mapFrom(window, on_readout);
    float wx = 0;
    float wy = 0;
    s.editor->thegrita().Coords(plot_at.x(), plot_at.y(), wx, wy);
    const QString x = s.child<QLabel>("LabelX")->text();
    QVERIFY2(qAbs(x.section(QLatin1Char(' '), 1, 1).toDouble() - wx) < 0.01, qPrintable(x));
    // A select box starts on the message and ends on the read-out.
    s.click_button("sbut");
    press_in_window(window, on_message);
    QVERIFY(s.editor->editor().draw_box);
    QTest::mouseMove(window->windowHandle(), on_readout);
    press_in_window(window, on_readout);
    QVERIFY(!s.editor->editor().draw_box);
    QCOMPARE(s.editor->editor().X_nieuw, float(plot_at.x()));
}

void DrawSplineTest::readoutStaysReadableOnTheShading() {
    Session s;
    s.open();
    // The darkest shading there is under the read-out.
    s.editor->bitmap().fill(Qt::black);
    auto* readout = s.child<QWidget>("CoordinateReadout");
    const QImage shot = s.editor->grab().toImage();
    const QPoint corner = readout->mapTo(s.editor.get(), QPoint(1, 1));
    QVERIFY2(qGray(shot.pixel(corner)) > 180, "the read-out has a light ground of its own");
    const QPoint outside = readout->mapTo(s.editor.get(), QPoint(readout->width() + 20, 1));
    QCOMPARE(qGray(shot.pixel(outside)), 0);
}

void DrawSplineTest::wheelZoomsAboutThePointerAndTheMiddleButtonPans() {
    Session s;
    s.open();
    auto& grita = s.editor->thegrita();
    const double width = grita.WindowBounds.xma - grita.WindowBounds.xmi;
    const QPoint at = s.pixel(400, 60);
    float x0 = 0;
    float y0 = 0;
    grita.Coords(at.x(), at.y(), x0, y0);
    const auto still_under = [&](QPoint pixel) {
        float wx = 0;
        float wy = 0;
        grita.Coords(pixel.x(), pixel.y(), wx, wy);
        return qAbs(wx - x0) < 0.01 && qAbs(wy - y0) < 0.01;
    };
    wheel(s.plot(), at, 120);  // one notch away from the operator: in
    QVERIFY(grita.WindowBounds.xma - grita.WindowBounds.xmi < width * 0.9);
    QVERIFY(still_under(at));
    wheel(s.plot(), at, -120);
    QVERIFY(qAbs(grita.WindowBounds.xma - grita.WindowBounds.xmi - width) < 1e-6);
    QVERIFY(still_under(at));
    // Dragging with the middle button takes the drawing along; the left-button tools stay out.
    s.click_button("abut");
    QTest::mousePress(&s.plot(), Qt::MiddleButton, {}, at);
    QTest::mouseMove(&s.plot(), at + QPoint(50, 30));
    QTest::mouseRelease(&s.plot(), Qt::MiddleButton, {}, at + QPoint(50, 30));
    QVERIFY(still_under(at + QPoint(50, 30)));
    QCOMPARE(s.editor->spline_pnts().profile.Nopoints, 0);
    // After the release the mouse only points again.
    const auto view = grita.WindowBounds;
    QTest::mouseMove(&s.plot(), at);
    QCOMPARE(grita.WindowBounds.xmi, view.xmi);
}

void DrawSplineTest::positionsOutsideTheWorkingRangeAreRefused() {
    Session s;
    s.open();
    // ALT D with y = -1e300: the dialog names the range and stays open.
    QString refused;
    on_next_dialog([&](QDialog* d) {
        edit_of(d, "Position_Y")->setText(QStringLiteral("-1e300"));
        press(d, "OK");
        refused = d->isVisible() ? QString::fromStdString(s.op.errors.back()) : QString();
        press(d, "Cancel");
    });
    s.key_at(s.pixel(400, 10), Qt::Key_D, Qt::AltModifier);
    QCOMPARE(refused,
             QStringLiteral("Position Y (mm) must lie between -100000 and 100000, not -1E300."));
    QCOMPARE(s.editor->spline_pnts().profile.Nopoints, 0);
    // A turning axis typed far away is refused on Enter and not drawn meanwhile.
    QLineEdit* axis = s.child<TFrame1>("axispos")->Ed();
    axis->setFocus();
    axis->selectAll();
    QTest::keyClicks(axis, QStringLiteral("1e6"));
    QCOMPARE(s.editor->spline_pnts().job.draaias, 1.0);  // the last usable text: "1"
    s.op.errors.clear();
    QTest::keyClick(axis, Qt::Key_Return);
    QCOMPARE(s.op.errors, std::vector<std::string>{"Turn axis position (mm) must lie between "
                                                   "-100000 and 100000, not 1000000."});
}

void DrawSplineTest::unusableVisualisationValuesAreNeverStored() {
    Session s;
    s.open();
    // Typed and then left with Cancel: the file keeps the last usable value.
    QLineEdit* axis = s.child<TFrame1>("axispos")->Ed();
    axis->setText(QStringLiteral("150"));
    axis->setText(QStringLiteral("nan"));
    s.click_button("Button2");
    const QString ini = qs(s.data("drawspline.ini"));
    QFile file(ini);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray stored = file.readAll();
    file.close();
    QVERIFY(!stored.contains("nan"));
    s.make_editor();
    QCOMPARE(s.child<TFrame1>("axispos")->Ed()->text(), QStringLiteral("150"));

    // A file that holds one anyway (written by an older version, or by hand): the default is
    // taken, with a notice, and "Edit the splines" opens.
    QByteArray damaged = stored;
    damaged.replace("150", "abc");
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(damaged);
    file.close();
    s.logged.clear();
    s.make_editor();
    QCOMPARE(s.child<TFrame1>("axispos")->Ed()->text(), QStringLiteral("100"));
    QVERIFY(std::find(s.logged.begin(), s.logged.end(),
                      "The stored Turn axis position (mm) \"abc\" cannot be used; the default "
                      "100 is taken") != s.logged.end());
    s.open();  // "Edit the splines" loads as this does, and throws for a field that is no number
    QCOMPARE(s.editor->spline_pnts().job.draaias, 100.0);
}

void DrawSplineTest::discardedEditsStayDiscarded() {
    Session s;
    s.open();  // no spline file for this program yet
    s.key_at(s.pixel(100, 10), Qt::Key_F2);
    s.op.answer = Operator::Answer::Yes;
    s.click_button("Button2");
    QCOMPARE(s.op.messages, std::vector<std::string>{"Discard the changes to the splines?"});
    QVERIFY(!s.editor->isVisible());
    s.open();
    QCOMPARE(s.editor->spline_pnts().profile.Nopoints, 0);
    // The same through the window's close button.
    s.key_at(s.pixel(100, 10), Qt::Key_F2);
    s.editor->close();
    QVERIFY(!s.editor->isVisible());
    s.open();
    QCOMPARE(s.editor->spline_pnts().profile.Nopoints, 0);
}

void DrawSplineTest::declinedOverwriteOnDoneKeepsTheEdits() {
    Session s;
    s.main->fields().set_text("Smot_name", "Karvik");
    write_file_atomically(s.data("Karvik.spl"), "old");
    s.open();
    s.key_at(s.pixel(100, 10), Qt::Key_F2);
    // No to replacing the files, No to losing the edits: the editor stays open with them.
    s.op.answers = {Operator::Answer::No, Operator::Answer::No};
    s.click_button("Button1");
    QCOMPARE(s.op.messages, (std::vector<std::string>{"Karvik already exists. Overwrite ?",
                                                      "Discard the changes to the splines?"}));
    QVERIFY(s.editor->isVisible());
    QCOMPARE(s.editor->spline_pnts().profile.Nopoints, 1);
    QCOMPARE(read_file(s.data("Karvik.spl")), std::optional<std::string>("old"));
    // No to replacing, Yes to losing them: closed, and nothing of them comes back.
    s.op.answers = {Operator::Answer::No, Operator::Answer::Yes};
    s.click_button("Button1");
    QVERIFY(!s.editor->isVisible());
    QCOMPARE(s.editor->spline_pnts().profile.Nopoints, 0);
    // Without edits a declined overwrite closes without a question.
    s.open();
    s.op.messages.clear();
    s.op.answers = {Operator::Answer::No};
    s.click_button("Button1");
    QCOMPARE(s.op.messages, std::vector<std::string>{"Karvik already exists. Overwrite ?"});
    QVERIFY(!s.editor->isVisible());
}

void DrawSplineTest::loadingMoreThanThePointLimitSaysHowManyWereDropped() {
    Session s;
    SplineDocument doc;
    for (int k = 0; k < 3001; ++k)
        doc.profile.points.push_back({static_cast<double>(k), 5});
    write_file_atomically(s.data("Vase.spl"), write_spline_file(doc));
    const std::string dropped =
        "The profile in the spline file holds 3001 points; the editor keeps the first 1000 and "
        "dropped 2001";
    // Opening the editor on it...
    s.main->fields().set_text("Smot_name", "Vase");
    s.open();
    QCOMPARE(s.editor->spline_pnts().profile.Nopoints, 1000);
    QCOMPARE(s.child<QLabel>("errlabel")->text(), qs(dropped));
    s.editor->hide();
    // ...and loading its program from the main window.
    s.main->fields().set_text("Smot_name", "Other");
    const std::string program = s.home.path().toStdString() + "/Vase.gof";
    s.main->fields().set_text("Smot_name", "Vase");
    write_file_atomically(program, save_form_state(main_window_components(),
                                                   dynamic_cast<FormAccess&>(s.main->fields())));
    s.logged.clear();
    s.chosen = program;
    s.files->LoadsplineprogClick();
    QCOMPARE(s.editor->spline_pnts().profile.Nopoints, 1000);
    QVERIFY(std::find(s.logged.begin(), s.logged.end(), dropped) != s.logged.end());
}

void DrawSplineTest::escapeStopsAShadingAndAFarZoomShadesPromptly() {
    Session s;
    s.open();
    draw_profile(s);
    bool running = false;
    QTimer::singleShot(0, [&] {
        running = s.editor->spline_pnts().shaderunning;
        QTest::keyClick(&s.plot(), Qt::Key_Escape);
    });
    s.key_at(s.pixel(300, 50), Qt::Key_S, Qt::AltModifier);
    QVERIFY(running);
    QVERIFY(!s.editor->spline_pnts().shaderunning);
    QVERIFY(s.editor->spline_pnts().closing);
    QVERIFY(s.editor->isVisible());
    // Zoomed three times into a box of 3 x 3 pixels on the profile, with the axis far away: the
    // shading has only the picture to fill, and ends.
    s.child<TFrame1>("axispos")->Ed()->setText(QStringLiteral("100000"));
    for (int k = 0; k < 3; ++k) {
        s.click_button("zoombut");
        const QPoint c = k == 0 ? s.pixel(300, 30) : s.plot().rect().center();
        QTest::mouseMove(&s.plot(), c);
        s.click_plot(c);
        QTest::mouseMove(&s.plot(), c + QPoint(3, 3));
        s.click_plot(c + QPoint(3, 3));
    }
    QVERIFY(s.editor->thegrita().WindowBounds.xma - s.editor->thegrita().WindowBounds.xmi < 0.01);
    s.key_at(s.pixel(300, 30), Qt::Key_S, Qt::AltModifier);
    QVERIFY(!s.editor->spline_pnts().shaderunning);
    QVERIFY(!s.editor->spline_pnts().closing);  // it ran to its end
}

void DrawSplineTest::aJobWithoutMovesIsReportedAsFailed() {
    Session s;
    s.open();
    s.key_at(s.pixel(300, 50), Qt::Key_F2);  // one point: nothing to turn
    s.op.answer = Operator::Answer::No;      // the fast rough question
    s.op.messages.clear();
    s.key_at(s.pixel(300, 50), Qt::Key_F7);
    // An error box naming the failure, and the file never called created.
    QVERIFY(!s.op.errors.empty());
    QVERIFY2(QString::fromStdString(s.op.errors.back())
                 .startsWith(QStringLiteral("The spline does not contain any points\r")),
             s.op.errors.back().c_str());
    for (const std::string& m : s.op.messages)
        QVERIFY2(m.find("is created") == std::string::npos, m.c_str());
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    DrawSplineTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "draw_spline_test.moc"
