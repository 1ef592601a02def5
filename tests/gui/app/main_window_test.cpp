#include "main_window_test.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <memory>
#ifndef _WIN32
#include <unistd.h>
#endif

#include "core/app/form_state.h"
#include "core/app/main_window_fields.h"
#include "core/check/program_stats.h"
#include "core/gcode/axis_mapping.h"
#include "core/text/error.h"
#include "gui/app/main_window.h"
#include "gui/plot/message_label_widget.h"
#include "gui/widgets/frame_field.h"
#include "gui/widgets/qt_operator.h"
#include "gui/widgets/qt_text.h"
#include "support/scripted_operator.h"
#include "temp_home.h"

using ostrivane::ComponentKind;
using ostrivane::gui::qs;
using ostrivane::gui::TFrame1;
using ostrivane::gui::TOstrivane;

namespace {

std::unique_ptr<ostrivane::test::QtTempHome> home;
ostrivane::test::ScriptedOperator* op = nullptr;

// What the turning engine logs when the data folder holds no saw outline.
QString no_saw_outline() {
    return home->data_folder() +
           "saw_def.txt does not exist (containing boundary definition for interference "
           "check). For this reason assuming sawblade only";
}

std::unique_ptr<TOstrivane> open_window() {
    static ostrivane::test::ScriptedOperator the_operator;
    op = &the_operator;
    op->messages.clear();
    op->errors.clear();
    auto w = std::make_unique<TOstrivane>(op);
    w->show();
    if (!QTest::qWaitForWindowExposed(w.get()))
        qWarning("window not exposed");
    return w;
}

// Brings a control's tab to the front, as the operator would before clicking it.
void click(TOstrivane& w, QWidget* control) {
    for (int i = 0; i < w.tabs()->count(); ++i) {
        if (w.tabs()->widget(i)->isAncestorOf(control))
            w.tabs()->setCurrentIndex(i);
    }
    QCoreApplication::processEvents();  // lay the page out before clicking into it
    // A check box reacts on its box and caption only, which sit at its left end.
    const bool check_box = qobject_cast<QCheckBox*>(control) != nullptr;
    const QPoint at = check_box ? QPoint(8, control->height() / 2) : control->rect().center();
    QTest::mouseClick(control, Qt::LeftButton, {}, at);
}

// The administrator reads and writes whatever the permission bits say.
bool running_as_root() {
#ifdef _WIN32
    return false;
#else
    return ::geteuid() == 0;
#endif
}

QByteArray read_all(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void write_all(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

TFrame1* field(QWidget& w, const char* name) {
    auto* f = w.findChild<TFrame1*>(QString::fromLatin1(name));
    Q_ASSERT(f != nullptr);
    return f;
}

template <typename T>
T* child(QWidget& w, const char* name) {
    auto* c = w.findChild<T*>(QString::fromLatin1(name));
    Q_ASSERT(c != nullptr);
    return c;
}

void type_into(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

QByteArray settings_bytes() {
    return read_all(home->data_folder() + "Settings.ini");
}

}  // namespace

void MainWindowTest::init() {
    home = std::make_unique<ostrivane::test::QtTempHome>();
}

void MainWindowTest::showsEveryTabFieldAndDefault() {
    auto w = open_window();
    // The caption names the current program, the default one on a first start.
    QCOMPARE(w->windowTitle(), QStringLiteral("Karvik \u2014 O s t r i v a n e"));
    QCOMPARE(child<QLabel>(*w, "ToolBarLabel")->text(), QStringLiteral("Ostrivane"));
    QTabWidget* tabs = w->tabs();
    const QStringList expected = {"3-axis finger joint", "Dynamic turning", "Settings", "About",
                                  "Log"};
    QCOMPARE(tabs->count(), expected.size());
    for (int i = 0; i < tabs->count(); ++i)
        QCOMPARE(tabs->tabText(i), expected[i]);
    QCOMPARE(tabs->currentIndex(), 0);
    for (const auto& c : ostrivane::main_window_components()) {
        const QString name = qs(c.name);
        switch (c.kind) {
            case ComponentKind::Field: {
                auto* f = w->findChild<TFrame1*>(name);
                QVERIFY2(f != nullptr, qPrintable(name));
                QCOMPARE(f->Ed()->text(), qs(c.default_text));
                QCOMPARE(f->Label1()->text(), qs(c.text));
                QCOMPARE(f->Label1()->width(), 200);
                QCOMPARE(f->Ed()->accessibleName(), qs(c.text));
                break;
            }
            case ComponentKind::CheckBox: {
                auto* box = w->findChild<QCheckBox*>(name);
                QVERIFY2(box != nullptr, qPrintable(name));
                QCOMPARE(box->text(), qs(c.text));
                QCOMPARE(box->isChecked(), c.default_checked);
                break;
            }
            case ComponentKind::Button:
                QVERIFY2(w->findChild<QPushButton*>(name) != nullptr, qPrintable(name));
                QCOMPARE(w->findChild<QPushButton*>(name)->text(), qs(c.text));
                break;
            case ComponentKind::Selector: {
                auto* combo = w->findChild<QComboBox*>(name);
                QVERIFY2(combo != nullptr, qPrintable(name));
                QCOMPARE(combo->count(), static_cast<int>(ostrivane::axis_letters.size()));
                QCOMPARE(combo->currentText(), qs(c.default_text));
                QVERIFY(combo->accessibleName().endsWith(QStringLiteral("-axis")));
                break;
            }
            case ComponentKind::Memo:
                QVERIFY(w->findChild<QPlainTextEdit*>(name) != nullptr);
                break;
            default:
                break;
        }
    }
}

void MainWindowTest::firstRunCreatesTheDataFolderAndAnEmptyLog() {
    QVERIFY(!QDir(home->data_folder()).exists());
    auto w = open_window();
    QVERIFY(QDir(home->data_folder()).exists());
    QCOMPARE(QString::fromStdString(w->IniFilePath()), home->data_folder());
    QVERIFY(QFile::exists(home->data_folder() + "Ostrivane.log"));
    QCOMPARE(read_all(home->data_folder() + "Ostrivane.log"), QByteArray());
    // A data folder without a saw outline is the usual case, not a fault: with the log
    // switches off nothing is shown, and Critical Information stays empty.
    QCOMPARE(child<QPlainTextEdit>(*w, "LogMemo")->toPlainText(), QString());
    QCOMPARE(child<QPlainTextEdit>(*w, "Critmemo")->toPlainText(), QString());
    QVERIFY(op->messages.empty());
}

void MainWindowTest::toothFileChosenFirstKeepsWholeSettings() {
    const QString settings = home->data_folder() + "Settings.ini";
    const QString tnd = home->path() + "/Zwaluw.tnd";
    write_all(tnd, "0\r\n");
    {
        auto w = open_window();
        field(*w, "saw_width")->Ed()->setText(QStringLiteral("4.5"));
        // The first thing done in a fresh data folder: a tooth file chosen.
        w->open_file(tnd.toStdString());
        // Killed now: no close, no close-time save.
    }
    const QByteArray bytes = settings_bytes();
    QVERIFY2(bytes.endsWith(("[tndfile]\r\nname=" + tnd + "\r\n").toUtf8()), bytes.constData());
    auto w = open_window();
    QCOMPARE(w->tnd_file(), std::optional<std::string>(tnd.toStdString()));
    QCOMPARE(field(*w, "saw_width")->Ed()->text(), QStringLiteral("4.5"));
    QCOMPARE(child<QPlainTextEdit>(*w, "Critmemo")->toPlainText(), QString());
    QVERIFY(!QFile::exists(settings + ".unreadable"));
    w->close();
    // The short file an earlier version wrote, the tooth-file section alone, restores nothing
    // and is no fault either.
    write_all(settings, "[tndfile]\r\nname=/joints/Karvik.tnd\r\n");
    auto again = open_window();
    QCOMPARE(again->tnd_file(), std::optional<std::string>("/joints/Karvik.tnd"));
    QCOMPARE(field(*again, "saw_width")->Ed()->text(), QStringLiteral("3.2"));
    QCOMPARE(child<QPlainTextEdit>(*again, "Critmemo")->toPlainText(), QString());
    QVERIFY(!QFile::exists(settings + ".unreadable"));
}

void MainWindowTest::stateFileMatchesTheCommandLineToTheByte() {
    auto w = open_window();
    click(*w, child<QPushButton>(*w, "SaveSet"));
    QCOMPARE(op->messages, std::vector<std::string>{"Settings saved"});
    const QByteArray window_bytes = settings_bytes();

    const QString cli_file = home->path() + "/cli.gof";
    QProcess cli;
    cli.start(QStringLiteral(OSTRIVANE_CLI_PATH), {"program", "save", cli_file});
    QVERIFY(cli.waitForFinished());
    QCOMPARE(cli.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(read_all(cli_file)).split(','),
             QString::fromUtf8(window_bytes).split(','));
    QCOMPARE(read_all(cli_file), window_bytes);

    const std::string json = ostrivane::decode_state_file(window_bytes.toStdString()).json_text;
    QVERIFY(json.find(R"("saw_widthEd":{"data":"3.2"})") != std::string::npos);
    QVERIFY(json.find(R"("Roughing":{"data":true})") != std::string::npos);
    QVERIFY(json.find(R"("write_mot":{})") != std::string::npos);
    QVERIFY(json.find(R"("GcodeX":{"data":"GcodeX"})") != std::string::npos);
}

void MainWindowTest::saveAndRestoreThroughTheWindow() {
    {
        auto w = open_window();
        type_into(field(*w, "cut_width")->Ed(), QStringLiteral("12.5"));
        w->tabs()->setCurrentIndex(2);
        type_into(field(*w, "GcodeFolder")->Ed(), QStringLiteral("C:\\cnc\\jobs\\"));
        w->tabs()->setCurrentIndex(1);
        type_into(field(*w, "Smot_name")->Ed(), QStringLiteral("Spindle "));
        field(*w, "Smot_name")->Ed()->insert(QStringLiteral("ü"));
        click(*w, child<QCheckBox>(*w, "Sanding"));
        click(*w, child<QCheckBox>(*w, "InvertZ"));
        child<QComboBox>(*w, "GcodeX")->setCurrentIndex(3);
        w->tabs()->setCurrentIndex(2);
        w->close();
    }
    auto w = open_window();
    QCOMPARE(field(*w, "cut_width")->Ed()->text(), QStringLiteral("12.5"));
    QCOMPARE(field(*w, "GcodeFolder")->Ed()->text(), QStringLiteral("C:\\cnc\\jobs\\"));
    QCOMPARE(field(*w, "Smot_name")->Ed()->text(), QStringLiteral("Spindle ü"));
    QVERIFY(child<QCheckBox>(*w, "Sanding")->isChecked());
    QVERIFY(child<QCheckBox>(*w, "InvertZ")->isChecked());
    QVERIFY(child<QCheckBox>(*w, "Roughing")->isChecked());
    QCOMPARE(child<QComboBox>(*w, "GcodeX")->currentText(), QStringLiteral("X"));
    QCOMPARE(w->tabs()->currentIndex(), 0);
}

void MainWindowTest::restoreStopsAtTheFirstMissingMember() {
    // Members up to and including saw_width, with changed values; an extra member too.
    QDir().mkpath(home->data_folder());
    const QByteArray json =
        R"j({"extra":{"data":"x"},"HeaderToolBar":{"data":"HeaderToolBar"},"ToolBarLabel":{"data":"Ostrivane"},)j"
        R"j("TabControl1":{"data":"TabControl1"},"TabItem1":{"data":"3-axis finger joint"},)j"
        R"j("VertScrollBox1":{"data":"VertScrollBox1"},"saw_widthEd":{"data":"2.8"},)j"
        R"j("saw_widthLabel1":{"data":"Blade (mm)"},"no_cutsEd":{"data":"5"}})j";
    write_all(home->data_folder() + "Settings.ini",
              QByteArray::fromStdString(ostrivane::encode_state_file(json.toStdString())));
    auto w = open_window();
    QCOMPARE(field(*w, "saw_width")->Ed()->text(), QStringLiteral("2.8"));
    QCOMPARE(field(*w, "saw_width")->Label1()->text(), QStringLiteral("Blade (mm)"));
    QCOMPARE(field(*w, "no_cuts")->Ed()->text(), QStringLiteral("5"));
    QCOMPARE(field(*w, "Pin_width")->Ed()->text(), QStringLiteral("10"));
    QCOMPARE(field(*w, "mot_name")->Ed()->text(), QStringLiteral("Karvik"));
}

void MainWindowTest::emptyStateFileChangesNothing() {
    QDir().mkpath(home->data_folder());
    write_all(home->data_folder() + "Settings.ini", QByteArray());
    auto w = open_window();
    QCOMPARE(field(*w, "saw_width")->Ed()->text(), QStringLiteral("3.2"));
    QVERIFY(QFile::exists(home->data_folder() + "Settings.ini"));
    QCOMPARE(settings_bytes(), QByteArray());
}

void MainWindowTest::toothFileSurvivesARestart() {
    QDir().mkpath(home->data_folder());
    write_all(home->data_folder() + "Settings.ini",
              "\x02{}[tndfile]\r\nname=C:\\joints\\Karvik.tnd\r\n");
    {
        auto w = open_window();
        QCOMPARE(w->tnd_file(), std::optional<std::string>("C:\\joints\\Karvik.tnd"));
        w->close();
    }
    QVERIFY(settings_bytes().endsWith("[tndfile]\r\nname=C:\\joints\\Karvik.tnd\r\n"));
    auto w = open_window();
    QCOMPARE(w->tnd_file(), std::optional<std::string>("C:\\joints\\Karvik.tnd"));
    QCOMPARE(field(*w, "saw_width")->Ed()->text(), QStringLiteral("3.2"));
}

// The LinuxCNC configuration typed (or browsed) on the Settings tab is kept in its own section
// of Settings.ini: a Settings.ini without it still loads, the state record (and so every program
// file) stays as it was, and the checks take its limits.
void MainWindowTest::machineConfigurationIsKeptBesideTheFields() {
    QDir().mkpath(home->data_folder());
    const QString ini = home->data_folder() + "mill.ini";
    write_all(ini, "[AXIS_X]\nMAX_VELOCITY = 40\nMAX_ACCELERATION = 500\n");
    write_all(home->data_folder() + "Settings.ini", "\x02{}");
    QByteArray record;
    {
        auto w = open_window();
        QVERIFY(!w->machine_ini().has_value());
        QVERIFY(w->check_options(std::nullopt).limits.defaults);
        auto* edit = child<TFrame1>(*w, "MachineIni")->Ed();
        type_into(edit, ini);
        QMetaObject::invokeMethod(edit, "editingFinished");
        QCOMPARE(w->machine_ini(), std::optional<std::string>(ini.toStdString()));
        const ostrivane::JobCheckOptions options =
            w->check_options(ostrivane::ProgramKind::turning);
        QCOMPARE(options.limits.source, std::string("mill.ini"));
        QCOMPARE(options.limits.velocity_of('X'), 40.0);
        QVERIFY(options.kind == ostrivane::ProgramKind::turning);
        w->close();
    }
    const QByteArray bytes = settings_bytes();
    QVERIFY(bytes.endsWith("[machine]\r\nini=" + ini.toUtf8() + "\r\n"));
    QVERIFY(ostrivane::decode_state_file(bytes.toStdString()).json_text.find("mill.ini") ==
            std::string::npos);
    auto w = open_window();
    QCOMPARE(child<TFrame1>(*w, "MachineIni")->Ed()->text(), ini);
    // A file that cannot be read leaves the defaults, and says so in the log.
    write_all(ini, "[AXIS_X\n");
    QVERIFY(w->check_options(std::nullopt).limits.defaults);
}

void MainWindowTest::logSwitchesAndTheStartMessage() {
    {
        auto w = open_window();
        click(*w, child<QCheckBox>(*w, "Write_log_screen"));
        QVERIFY(child<QCheckBox>(*w, "Write_log_screen")->isChecked());
        w->log("on screen", false);
        w->log("alarm", true);
        QVERIFY(child<QPlainTextEdit>(*w, "LogMemo")->toPlainText().contains(" : on screen"));
        QVERIFY(child<QPlainTextEdit>(*w, "Critmemo")->toPlainText().endsWith(" : alarm"));
        QVERIFY(!child<QPlainTextEdit>(*w, "Critmemo")->toPlainText().contains("on screen"));
        click(*w, child<QCheckBox>(*w, "write_log"));
        w->close();
    }
    auto w = open_window();
    const QString log_path = home->data_folder() + "Ostrivane.log";
    const QByteArray log = read_all(log_path);
    // The start message, then the spline editor's turning engine saying it found no saw
    // outline.
    QVERIFY2(log.contains((" : Log file is located in: " + log_path + "\r\n").toUtf8()),
             log.data());
    QVERIFY2(log.endsWith((" : " + no_saw_outline() + "\r\n").toUtf8()), log.data());
    QCOMPARE(log.count('\n'), 2);
    QCOMPARE(child<QPlainTextEdit>(*w, "LogMemo")->toPlainText().count('\n'), 1);
}

void MainWindowTest::saveSettingsFailureIsReported() {
    auto w = open_window();
    // A folder where the file should be makes every save fail; the click must not say "saved".
    QFile::remove(home->data_folder() + "Settings.ini");
    QVERIFY(QDir().mkpath(home->data_folder() + "Settings.ini/blocked"));
    click(*w, child<QPushButton>(*w, "SaveSet"));
    const std::string error = "Cannot write file " + home->data_folder().toStdString() +
                              "Settings.ini: it is a folder, not a file.";
    QCOMPARE(op->errors, std::vector<std::string>{error});
    QCOMPARE(op->messages, std::vector<std::string>{error});
    QVERIFY(QFileInfo(home->data_folder() + "Settings.ini").isDir());
}

void MainWindowTest::fingerJointButtonsWriteTheProgramAndToothFile() {
    auto w = open_window();
    click(*w, child<QCheckBox>(*w, "Write_log_screen"));
    click(*w, child<QPushButton>(*w, "write_mot"));
    const QString ngc = home->path() + "/Documents/Karvik.ngc";
    QCOMPARE(op->messages, std::vector<std::string>{ngc.toStdString() + " is created."});
    const QByteArray program = read_all(ngc);
    QVERIFY(program.startsWith("(GCODE created by Ostrivane, "));
    QVERIFY(program.endsWith("G00 F270\r\nG28 Y0.0\r\nG28\r\nM2\r\n"));
    QVERIFY(child<QPlainTextEdit>(*w, "LogMemo")->toPlainText().contains(" lines, feed "));

    op->messages.clear();
    click(*w, child<QPushButton>(*w, "write_tnd"));
    const QString tnd = home->path() + "/Documents/Karvik.tnd";
    QCOMPARE(op->messages, std::vector<std::string>{tnd.toStdString() + " written"});
    QCOMPARE(read_all(tnd), QByteArray("2\r\n 0.00000000000000E+0000\r\n 1.00000000000000E+0001\r\n"
                                       " 1.00000000000000E+0001\r\n 2.00000000000000E+0001\r\n"
                                       " 3.00000000000000E+0001\r\n 1.00000000000000E+0001\r\n"));
}

void MainWindowTest::fieldErrorIsShownAndTheWindowStaysUsable() {
    auto w = open_window();
    type_into(field(*w, "saw_width")->Ed(), QStringLiteral("3,2"));
    click(*w, child<QPushButton>(*w, "write_mot"));
    QCOMPARE(op->messages, std::vector<std::string>{
                               "3,2 inside Saw width (mm) is not a valid floating point number."});
    QVERIFY(!QFile::exists(home->path() + "/Documents/Karvik.ngc"));
    type_into(field(*w, "saw_width")->Ed(), QStringLiteral("3.2"));
    op->messages.clear();
    click(*w, child<QPushButton>(*w, "write_mot"));
    QCOMPARE(op->messages.size(), 1u);
    QVERIFY(QFile::exists(home->path() + "/Documents/Karvik.ngc"));
}

void MainWindowTest::desktopDocumentsFolderIsMadeForTheFirstJob() {
    // The desktop keeps its Documents folder elsewhere, and it does not exist yet.
    qunsetenv("XDG_DOCUMENTS_DIR");
    QVERIFY(QDir(home->path()).mkpath(QStringLiteral(".config")));
    write_all(home->path() + "/.config/user-dirs.dirs",
              "# written by xdg-user-dirs-update\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    auto w = open_window();
    click(*w, child<QCheckBox>(*w, "Write_log_screen"));
    click(*w, child<QPushButton>(*w, "write_mot"));
    const QString ngc = home->path() + "/Dokumente/Karvik.ngc";
    QCOMPARE(op->messages, std::vector<std::string>{ngc.toStdString() + " is created."});
    // The summary counted while writing is the one stats reads from the file.
    const QString summary = QString::fromStdString(
        ostrivane::stats_summary(ostrivane::program_stats_of_file(ngc.toStdString())));
    QVERIFY(child<QPlainTextEdit>(*w, "LogMemo")->toPlainText().endsWith(" : " + summary));

    op->messages.clear();
    click(*w, child<QPushButton>(*w, "write_tnd"));
    QCOMPARE(op->messages,
             std::vector<std::string>{(home->path() + "/Dokumente/Karvik.tnd").toStdString() +
                                      " written"});
    QVERIFY(!QDir(home->path() + "/Documents/").exists(QStringLiteral("Karvik.ngc")));
}

void MainWindowTest::documentsFolderIsTheOneTheCommandLineUses() {
    // XDG_DOCUMENTS_DIR names one folder and the desktop's user-dirs.dirs another: the window
    // writes where the command-line tool writes.
    const QString docs = home->path() + "/Papers";
    qputenv("XDG_DOCUMENTS_DIR", docs.toUtf8());
    QVERIFY(QDir(home->path()).mkpath(QStringLiteral(".config")));
    write_all(home->path() + "/.config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    auto w = open_window();
    click(*w, child<QPushButton>(*w, "write_mot"));
    QCOMPARE(op->messages,
             std::vector<std::string>{(docs + "/Karvik.ngc").toStdString() + " is created."});
    QProcess cli;
    cli.start(QStringLiteral(OSTRIVANE_CLI_PATH), {"tooth"});
    QVERIFY(cli.waitForFinished());
    QCOMPARE(cli.exitCode(), 0);
    QVERIFY(QFile::exists(docs + "/Karvik.tnd"));
}

void MainWindowTest::axisSelectorsOfferTheRotaryLetters() {
    auto w = open_window();
    for (const char* name : {"GcodeX", "GCodeY", "GCodeZ", "GCodeW"}) {
        auto* combo = child<QComboBox>(*w, name);
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        // The first four keep their places, so stored selections keep their meaning.
        QCOMPARE(items, QStringList({"X", "Y", "Z", "W", "A", "B", "C"}));
    }
    child<QComboBox>(*w, "GCodeW")->setCurrentIndex(4);
    QCOMPARE(ostrivane::get_mapped_W(w->fields()), std::string("A"));
}

void MainWindowTest::axisSelectorsAreNamedByTheirLabels() {
    auto w = open_window();
    w->tabs()->setCurrentIndex(2);
    const struct {
        const char* selector;
        const char* label;
    } rows[] = {
        {"GcodeX", "X-axis"}, {"GCodeY", "Y-axis"}, {"GCodeZ", "Z-axis"}, {"GCodeW", "W-axis"}};
    for (const auto& row : rows) {
        auto* combo = child<QComboBox>(*w, row.selector);
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(combo);
        QVERIFY(a != nullptr);
        QCOMPARE(a->role(), QAccessible::ComboBox);
        QCOMPARE(a->text(QAccessible::Name), QString::fromLatin1(row.label));
        QCOMPARE(a->text(QAccessible::Value), combo->currentText());
    }
    // Another letter chosen with the keyboard changes the value, never the name.
    auto* w_axis = child<QComboBox>(*w, "GCodeW");
    w_axis->setFocus();
    QTest::keyClick(w_axis, Qt::Key_Down);
    QCOMPARE(w_axis->currentText(), QStringLiteral("A"));
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w_axis);
    QCOMPARE(a->text(QAccessible::Name), QStringLiteral("W-axis"));
    QCOMPARE(a->text(QAccessible::Value), QStringLiteral("A"));
    // Screen readers read a combo box's value as its text.
    QVERIFY(a->textInterface() != nullptr);
    QCOMPARE(a->textInterface()->text(0, a->textInterface()->characterCount()),
             QStringLiteral("A"));
}

void MainWindowTest::startsWithoutAHomeFolder() {
    const QString cwd = home->path() + "/cwd";
    QVERIFY(QDir().mkpath(cwd));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(cwd);
    qunsetenv("HOME");
    qunsetenv("XDG_DATA_HOME");
    {
        auto w = open_window();
        QCOMPARE(op->messages,
                 std::vector<std::string>{"The home folder is not known: HOME is not set."});
        w->close();
    }
    QDir::setCurrent(previous);
    // Nothing was put where the program happened to be started.
    QVERIFY(QDir(cwd).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
}

void MainWindowTest::damagedSettingsAreKeptAside() {
    {
        auto w = open_window();
        click(*w, child<QCheckBox>(*w, "InvertZ"));
        click(*w, child<QCheckBox>(*w, "Write_log_screen"));
        w->close();
    }
    QByteArray damaged = settings_bytes();
    QVERIFY(damaged.size() > 1000);
    // One bad byte: a member's name no longer names it.
    damaged[damaged.indexOf("\"InvertZ\"") + 7] = 'Q';
    write_all(home->data_folder() + "Settings.ini", damaged);
    write_all(home->data_folder() + "Settings.ini.unreadable", "an older copy");
    {
        auto w = open_window();
        // The members before the damaged one are restored, the rest keep their defaults.
        QVERIFY(!child<QCheckBox>(*w, "InvertZ")->isChecked());
        QVERIFY(child<QCheckBox>(*w, "Write_log_screen")->isChecked());
        const QString settings = home->data_folder() + "Settings.ini";
        QCOMPARE(read_all(settings + ".unreadable"), damaged);
        const QString critical = child<QPlainTextEdit>(*w, "Critmemo")->toPlainText();
        QVERIFY2(critical.contains(settings + " could not be restored: ") &&
                     critical.contains("A copy of it is kept as " + settings + ".unreadable."),
                 qPrintable(critical));
        QVERIFY(op->messages.empty());
        w->close();
    }
    // The close saved over the damaged file, whose copy stays.
    QCOMPARE(read_all(home->data_folder() + "Settings.ini.unreadable"), damaged);
    QVERIFY(settings_bytes() != damaged);
}

void MainWindowTest::unreadableSettingsDoNotStopTheStart() {
    QDir().mkpath(home->data_folder());
    const QString settings = home->data_folder() + "Settings.ini";
    // A link to itself cannot be read by anyone, the administrator included.
    QVERIFY(QFile::link(settings, settings));
    {
        auto w = open_window();
        QCOMPARE(field(*w, "saw_width")->Ed()->text(), QStringLiteral("3.2"));
        QVERIFY(child<QPlainTextEdit>(*w, "Critmemo")
                    ->toPlainText()
                    .contains(settings + " could not be restored: Cannot open file " + settings));
        QVERIFY(op->messages.empty());
    }
    QFile::remove(settings);
    if (running_as_root())
        return;  // the administrator reads a folder of mode 000 all the same
    write_all(settings, QByteArray::fromStdString(ostrivane::encode_state_file("{}")));
    QFile::setPermissions(home->data_folder(), {});
    {
        auto w = open_window();
        QCOMPARE(field(*w, "saw_width")->Ed()->text(), QStringLiteral("3.2"));
    }
    QFile::setPermissions(home->data_folder(),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void MainWindowTest::dataFolderThatCannotBeMadeIsReported() {
    // A file where the data folder should be.
    QDir().mkpath(home->path() + "/.local/share");
    write_all(home->path() + "/.local/share/Ostrivane", "not a folder");
    auto w = open_window();
    QCOMPARE(op->errors.size(), 1u);
    QVERIFY2(op->errors.front().starts_with("Cannot create the data folder " +
                                            home->data_folder().toStdString() + ": "),
             op->errors.front().c_str());
    QCOMPARE(field(*w, "saw_width")->Ed()->text(), QStringLiteral("3.2"));
    // Logging to the file then says which file and why.
    w->tabs()->setCurrentIndex(2);
    click(*w, child<QCheckBox>(*w, "write_log"));
    try {
        w->log("x", false);
        QFAIL("the log pretended to write");
    } catch (const ostrivane::Error& e) {
        QCOMPARE(QString::fromUtf8(e.what()),
                 "Cannot write the log file " + home->data_folder() +
                     "Ostrivane.log: it could not be opened (the data folder could not be "
                     "created)");
    }
}

// Every button of the main window does something now: none is left disabled.
void MainWindowTest::everyButtonIsAvailable() {
    auto w = open_window();
    int buttons = 0;
    for (QPushButton* button : w->findChildren<QPushButton*>()) {
        // The editor's window is the main window's child, with buttons of its own.
        if (button->objectName().isEmpty() || button->window() != w.get())
            continue;
        QVERIFY2(button->isEnabled(), qPrintable(button->objectName()));
        ++buttons;
    }
    QCOMPARE(buttons, 13);  // the specified ten, two "Browse…" and "Check program"
    auto* browse = child<QPushButton>(*w, "GcodeFolderBrowse");
    QCOMPARE(browse->text(), QStringLiteral("Browse\u2026"));
    QCOMPARE(browse->accessibleName(), QStringLiteral("Browse for the G-code folder"));
}

void MainWindowTest::captionsAndMessagesShowPlainText() {
    {
        auto w = open_window();
        w->close();
    }
    // Captions with markup, from a state file and typed into a field.
    QByteArray bytes = settings_bytes();
    const std::string json = ostrivane::decode_state_file(bytes.toStdString()).json_text;
    QString text = QString::fromStdString(json);
    text.replace(R"("Label12":{"data":"Finger joints)", R"("Label12":{"data":"<h1>Big</h1>)");
    text.replace(R"j("saw_widthLabel1":{"data":"Saw width (mm)"})j",
                 R"j("saw_widthLabel1":{"data":"<b>bold</b><img src=x>"})j");
    write_all(home->data_folder() + "Settings.ini",
              QByteArray::fromStdString(ostrivane::encode_state_file(text.toStdString())));
    auto w = open_window();
    QCOMPARE(field(*w, "saw_width")->Label1()->text(), QStringLiteral("<b>bold</b><img src=x>"));
    QVERIFY(child<QLabel>(*w, "Label12")->text().startsWith("<h1>Big</h1>"));
    for (QLabel* label : w->findChildren<QLabel*>())
        QVERIFY2(label->textFormat() == Qt::PlainText, qPrintable(label->objectName()));

    // The fading message label of the plot windows.
    ostrivane::FadingMessageLabel notice;
    notice.set_text("<b>Double points are not allowed !!!</b>");
    QCOMPARE(notice.textFormat(), Qt::PlainText);
    QCOMPARE(notice.text(), QStringLiteral("<b>Double points are not allowed !!!</b>"));

    // The message boxes: plain text, and the error icon for errors.
    ostrivane::gui::QtOperator boxes(w.get());
    struct Seen {
        Qt::TextFormat format = Qt::AutoText;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString text;
    } seen;
    const auto look_and_close = [&seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box != nullptr);
        seen = {box->textFormat(), box->icon(), box->text()};
        box->reject();
    };
    QTimer::singleShot(0, look_and_close);
    boxes.show_error("<b>x</b> failed");
    QCOMPARE(seen.format, Qt::PlainText);
    QCOMPARE(seen.icon, QMessageBox::Critical);
    QCOMPARE(seen.text, QStringLiteral("<b>x</b> failed"));
    QTimer::singleShot(0, look_and_close);
    boxes.information("<h1>done</h1>");
    QCOMPARE(seen.format, Qt::PlainText);
    QCOMPARE(seen.icon, QMessageBox::Information);
    QTimer::singleShot(0, look_and_close);
    QVERIFY(!boxes.ask_yes_no("<i>overwrite?</i>"));
    QCOMPARE(seen.format, Qt::PlainText);
}

void MainWindowTest::logMemoShowsNewLinesFromTheirStart() {
    auto w = open_window();
    click(*w, child<QCheckBox>(*w, "Write_log_screen"));
    auto* memo = child<QPlainTextEdit>(*w, "LogMemo");
    w->tabs()->setCurrentIndex(4);
    QCoreApplication::processEvents();
    for (int i = 0; i < 60; ++i)
        w->log(QString(400, QChar('a' + i % 26)).toStdString(), false);
    QCoreApplication::processEvents();
    // Long lines wrap inside the memo: nothing to scroll sideways to.
    QCOMPARE(memo->horizontalScrollBar()->maximum(), 0);
    QVERIFY(memo->document()->lastBlock().layout()->lineCount() > 1);
    QVERIFY(memo->textCursor().block() == memo->document()->lastBlock());
    QVERIFY(memo->viewport()->rect().contains(memo->cursorRect()));
}

void MainWindowTest::versionComesFromTheBuild() {
    auto w = open_window();
    // The version of the project() line, which the build hands to the program.
    QCOMPARE(child<QLabel>(*w, "Version")->text(), QStringLiteral("Version " OSTRIVANE_VERSION));
}

void MainWindowTest::longJobShowsProgressAndCanBeCancelled() {
    auto w = open_window();
    // Progress shows at once, so the operator's hand is sure to find the job still writing
    // (a million cuts take a few tenths of a second).
    ostrivane::gui::QtJobContext::Timing at_once;
    at_once.show_after_ms = 0;
    at_once.pump_interval_ms = 10;
    w->set_job_timing(at_once);
    type_into(field(*w, "no_cuts")->Ed(), QStringLiteral("1000000"));
    const QString ngc = home->path() + "/Documents/Karvik.ngc";
    // While the job runs the operator tries to close the window, then presses Cancel.
    bool dialog_seen = false;
    int ticks_while_writing = 0;
    QTimer operator_hand;
    QObject::connect(&operator_hand, &QTimer::timeout, [&] {
        ++ticks_while_writing;
        auto* dialog = w->findChild<QProgressDialog*>();
        // The hand acts after a few ticks: the window kept answering while it wrote.
        if (dialog == nullptr || !dialog->isVisible() || dialog_seen || ticks_while_writing <= 5)
            return;
        dialog_seen = true;
        QVERIFY(!QFile::exists(ngc));  // nothing in place while it is written
        w->close();
        QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
    });
    operator_hand.start(20);
    click(*w, child<QPushButton>(*w, "write_mot"));
    operator_hand.stop();
    QVERIFY(dialog_seen);
    QVERIFY(ticks_while_writing > 5);
    QVERIFY2(w->isVisible(), "the close waited for the job");
    QCOMPARE(op->messages,
             std::vector<std::string>{ngc.toStdString() + " cancelled, no file written"});
    QVERIFY(op->errors.empty());
    QVERIFY(!QFile::exists(ngc));
    QVERIFY(QDir(home->path() + "/Documents").isEmpty());
    QVERIFY(w->findChild<QProgressDialog*>() == nullptr);
}
