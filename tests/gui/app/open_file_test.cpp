#include "open_file_test.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/app/form_state.h"
#include "core/app/main_window_fields.h"
#include "core/app/state_file.h"
#include "core/curve/spline_file.h"
#include "core/text/error.h"
#include "core/text/file_io.h"
#include "gui/app/main_window.h"
#include "gui/editor/draw_spline.h"
#include "gui/widgets/frame_field.h"
#include "support/scripted_operator.h"
#include "temp_home.h"

using namespace ostrivane;
using namespace ostrivane::gui;
namespace fs = std::filesystem;

namespace {

const QString kCaption = QStringLiteral("O s t r i v a n e");

QString caption_of(const QString& program) {
    return program + QStringLiteral(" \u2014 ") + kCaption;
}

// A window in a fresh home, shown, after the editor's first load.
struct Window {
    test::QtTempHome home;
    test::ScriptedOperator op;
    std::unique_ptr<TOstrivane> w;

    Window() {
        fs::create_directories(elsewhere());
        w = std::make_unique<TOstrivane>(&op);
        w->show();
        // Wait for the editor's start-up load instead of a fixed time.
        auto* load = w->findChild<QTimer*>(QStringLiteral("load_data_timer"));
        QVERIFY(load != nullptr);
        QTRY_VERIFY(!load->isActive());
    }
    fs::path elsewhere() const { return fs::path(home.path().toStdString()) / "Downloads"; }
    fs::path data_folder() const { return fs::u8path(w->IniFilePath()); }
    TSplineform& editor() const { return *w->findChild<TSplineform*>(); }
    std::string field(const char* name) const { return w->fields().text(name); }
};

std::string profile_of(int points) {
    SplineDocument doc;
    for (int i = 0; i < points; ++i)
        doc.profile.points.push_back({10.0 + 20 * i, 20.0 + 5 * i});
    return write_spline_file(doc);
}

// Opens the file while a hand waits for the modal editor; returns its point count when it
// showed, after closing it.
std::optional<int> open_watching_the_editor(Window& window, const fs::path& file) {
    std::optional<int> points;
    QTimer hand;
    hand.setInterval(10);
    QObject::connect(&hand, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* editor = qobject_cast<TSplineform*>(modal);
        if (editor == nullptr)
            return;
        points = editor->spline_pnts().profile.Nopoints;
        QMetaObject::invokeMethod(editor, "reject");
    });
    hand.start();
    window.w->open_file(file);
    return points;
}

}  // namespace

void OpenFileTest::captionNamesTheCurrentProgram() {
    Window window;
    QCOMPARE(window.w->windowTitle(), caption_of("Karvik"));
    QLineEdit* name = window.w->findChild<TFrame1*>(QStringLiteral("Smot_name"))->Ed();
    name->setText(QStringLiteral("Vaas 2"));
    QCOMPARE(window.w->windowTitle(), caption_of("Vaas 2"));
    name->setText(QString());
    QCOMPARE(window.w->windowTitle(), kCaption);
}

void OpenFileTest::opensOnlyItsOwnKindsOfFile() {
    const struct {
        const char* file;
        bool opens;
    } cases[] = {
        {"Vase.gof", true},  {"/a/b/Vase.GOF", true}, {"Vase.spl", true},   {"teeth.tnd", true},
        {"Vase.ngc", false}, {"Vase", false},         {"Vase.gof~", false}, {"gof", false},
    };
    for (const auto& c : cases)
        QVERIFY2(TOstrivane::opens(c.file) == c.opens, c.file);
    Window window;
    QVERIFY_THROWS_EXCEPTION(Error, window.w->open_file(window.elsewhere() / "Vase.ngc"));
}

void OpenFileTest::programFromAnotherFolderLoadsAsLoadProgramDoes() {
    Window window;
    // A program saved elsewhere names the profile Vase, which lives in the data folder.
    window.w->fields().set_text("Smot_name", "Vase");
    window.w->fields().set_text("cut_width", "12.5");
    const fs::path program = window.elsewhere() / "vase job.gof";
    write_file_atomically(program, save_form_state(main_window_components(),
                                                   dynamic_cast<FormAccess&>(window.w->fields())));
    write_file_atomically(window.data_folder() / "Vase.spl", profile_of(3));
    window.w->fields().set_text("Smot_name", "Karvik");
    window.w->fields().set_text("cut_width", "10");

    QCOMPARE(open_watching_the_editor(window, program), std::nullopt);
    QCOMPARE(window.field("Smot_name"), std::string("Vase"));
    QCOMPARE(window.field("cut_width"), std::string("12.5"));
    QCOMPARE(window.editor().spline_pnts().profile.Nopoints, 3);
    QCOMPARE(window.w->windowTitle(), caption_of("Vase"));
    QVERIFY(window.op.messages.empty());
}

namespace {

// A program saved in the folder `folder` as `file`, naming the profile `program`.
fs::path save_program(Window& window, const fs::path& file, const std::string& program) {
    window.w->fields().set_text("Smot_name", program);
    write_file_atomically(file, save_form_state(main_window_components(),
                                                dynamic_cast<FormAccess&>(window.w->fields())));
    window.w->fields().set_text("Smot_name", "Karvik");
    return file;
}

}  // namespace

void OpenFileTest::programBringsTheProfileBesideIt() {
    Window window;
    const fs::path program = save_program(window, window.elsewhere() / "Vase.gof", "Vase");
    write_file_atomically(window.elsewhere() / "Vase.spl", profile_of(3));

    QCOMPARE(open_watching_the_editor(window, program), std::nullopt);
    QCOMPARE(window.field("Smot_name"), std::string("Vase"));
    QCOMPARE(window.editor().spline_pnts().profile.Nopoints, 3);
    // It is the program's profile in the data folder now, where the editor saves it.
    QCOMPARE(read_file(window.data_folder() / "Vase.spl"), std::optional(profile_of(3)));
    QVERIFY(window.op.messages.empty());
    // Another profile of that name in the data folder is replaced only when the operator agrees.
    write_file_atomically(window.data_folder() / "Vase.spl", profile_of(6));
    window.op.answer = Operator::Answer::No;
    QCOMPARE(open_watching_the_editor(window, program), std::nullopt);
    QCOMPARE(window.op.messages, std::vector<std::string>{"Vase already exists. Overwrite ?"});
    QCOMPARE(window.editor().spline_pnts().profile.Nopoints, 6);
    QCOMPARE(read_file(window.data_folder() / "Vase.spl"), std::optional(profile_of(6)));
}

void OpenFileTest::programWithoutAProfileSaysSo() {
    Window window;
    const fs::path program = save_program(window, window.elsewhere() / "Jug.gof", "Jug");
    QCOMPARE(open_watching_the_editor(window, program), std::nullopt);
    QCOMPARE(window.field("Smot_name"), std::string("Jug"));
    const std::vector<std::string> said{"No profile belongs to Jug.gof: neither " +
                                        (window.elsewhere() / "Jug.spl").string() + " nor " +
                                        (window.data_folder() / "Jug.spl").string() +
                                        " exists. The spline editor keeps the profile it holds."};
    QCOMPARE(window.op.messages, said);
}

void OpenFileTest::toothFileIsChosenAsLoadTndFileDoes() {
    Window window;
    const fs::path tnd = window.elsewhere() / "zwaluw.tnd";
    write_file_atomically(tnd, "0\r\n");
    // A relative name stays valid after the program's working folder changes.
    const QString previous = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(window.elsewhere().string()));
    window.w->open_file("zwaluw.tnd");
    QDir::setCurrent(previous);
    QCOMPARE(window.w->tnd_file(), std::optional<std::string>(tnd.string()));
    const auto settings = read_file(window.w->settings_file());
    QVERIFY(settings.has_value());
    QCOMPARE(read_ini_key(*settings, tnd_section, tnd_key),
             std::optional<std::string>(tnd.string()));
}

void OpenFileTest::profileFromAnotherFolderBecomesTheProgramOfItsName() {
    Window window;
    const fs::path profile = window.elsewhere() / "Vase.spl";
    write_file_atomically(profile, profile_of(4));

    QCOMPARE(open_watching_the_editor(window, profile), std::optional<int>(4));
    QCOMPARE(read_file(window.data_folder() / "Vase.spl"), read_file(profile));
    QCOMPARE(window.field("Smot_name"), std::string("Vase"));
    QCOMPARE(window.w->tabs()->currentIndex(), 1);
    QCOMPARE(window.w->windowTitle(), caption_of("Vase"));
    // The same bytes again, and the data folder's own file, are no reason to ask.
    QCOMPARE(open_watching_the_editor(window, profile), std::optional<int>(4));
    QCOMPARE(open_watching_the_editor(window, window.data_folder() / "Vase.spl"),
             std::optional<int>(4));
    QVERIFY(window.op.messages.empty());
}

void OpenFileTest::openedProfileFillsTheView() {
    Window window;
    const fs::path profile = window.elsewhere() / "Egg cup.spl";
    write_file_atomically(profile, profile_of(4));  // x 10 … 70, y 20 … 35; the axis at 100
    std::optional<WindowRec> shown;
    QTimer hand;
    hand.setInterval(10);
    QObject::connect(&hand, &QTimer::timeout, [&] {
        auto* editor = qobject_cast<TSplineform*>(QApplication::activeModalWidget());
        if (editor == nullptr)
            return;
        shown = editor->thegrita().WindowBounds;
        QMetaObject::invokeMethod(editor, "reject");
    });
    hand.start();
    window.w->open_file(profile);
    QVERIFY(shown.has_value());
    // The profile and its axis fill the plot, where the full view (1500 mm) shows a speck.
    QVERIFY(shown->xmi <= 10 && shown->xma >= 70 && shown->ymi <= 20 && shown->yma >= 100);
    QVERIFY2(shown->xma - shown->xmi < 300, qPrintable(QString::number(shown->xma - shown->xmi)));
    // "Edit the splines" opens on the full view, as it always does.
    shown.reset();
    QTest::mouseClick(window.w->findChild<QPushButton*>(QStringLiteral("DrawSpline")),
                      Qt::LeftButton);
    QVERIFY(shown.has_value());
    QVERIFY(shown->xmi <= 0 && shown->xma >= 1500);
}

void OpenFileTest::profileAsksBeforeReplacingAnotherOfItsName() {
    Window window;
    const fs::path own = window.data_folder() / "Vase.spl";
    write_file_atomically(own, profile_of(2));
    const fs::path profile = window.elsewhere() / "Vase.spl";
    write_file_atomically(profile, profile_of(5));

    window.op.answer = Operator::Answer::No;
    QCOMPARE(open_watching_the_editor(window, profile), std::nullopt);
    QCOMPARE(window.op.messages, std::vector<std::string>{"Vase already exists. Overwrite ?"});
    QCOMPARE(read_file(own), std::optional<std::string>(profile_of(2)));
    QCOMPARE(window.field("Smot_name"), std::string("Karvik"));

    window.op.answer = Operator::Answer::Yes;
    QCOMPARE(open_watching_the_editor(window, profile), std::optional<int>(5));
    QCOMPARE(read_file(own), std::optional<std::string>(profile_of(5)));
    QCOMPARE(window.field("Smot_name"), std::string("Vase"));
}

void OpenFileTest::fileThatIsNoSplineFileIsRefused() {
    Window window;
    const fs::path profile = window.elsewhere() / "Notes.spl";
    write_file_atomically(profile, "hello");
    try {
        window.w->open_file(profile);
        QFAIL("no error");
    } catch (const Error& e) {
        QCOMPARE(std::string(e.what()),
                 profile.string() +
                     " is not a spline file this program reads: its version word is 25960, not "
                     "10120");
    }
    QVERIFY(!fs::exists(window.data_folder() / "Notes.spl"));
    QCOMPARE(window.field("Smot_name"), std::string("Karvik"));
}
