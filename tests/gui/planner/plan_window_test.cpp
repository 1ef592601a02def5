#include "plan_window_test.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>
#include <nlohmann/json.hpp>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "core/app/form_state.h"
#include "core/curve/spline_file.h"
#include "core/planner/plan_form_fields.h"
#include "core/planner/plan_render.h"
#include "core/planner/planner_fixture.h"
#include "gui/app/main_window.h"
#include "gui/app/temp_home.h"
#include "gui/planner/create_saw_plans.h"
#include "gui/planner/page_image.h"
#include "gui/planner/plan_window.h"
#include "gui/plot/message_label_widget.h"
#include "gui/plot/plot_grid.h"
#include "gui/widgets/frame_field.h"
#include "pdf_pages.h"
#include "support/scripted_operator.h"

using ostrivane::PlankPlan;
using ostrivane::ShapePoint;
using ostrivane::gui::PageImage;
using ostrivane::gui::Tplanform;

namespace {

std::unique_ptr<ostrivane::test::QtTempHome> home;
std::unique_ptr<ostrivane::test::ScriptedOperator> op;
std::vector<std::string> log_lines;

std::string data_folder() {
    return home->data_folder().toStdString();
}

std::unique_ptr<Tplanform> open_window() {
    return std::make_unique<Tplanform>(
        data_folder(), [](std::string_view m, bool) { log_lines.emplace_back(m); }, op.get());
}

// A cylinder of radius 35 about the axis at 100, `length` millimetres long.
std::vector<ShapePoint> cylinder(double length) {
    return ostrivane::test::line_points(0, 65, length, 65, 7);
}

QPushButton* button(QWidget& w, const char* name) {
    auto* b = w.findChild<QPushButton*>(QString::fromLatin1(name));
    Q_ASSERT(b != nullptr);
    return b;
}

void click(QAbstractButton* b) {
    QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
}

// A printer that prints into a PDF file in the test's home.
std::unique_ptr<QPrinter> pdf_printer(const QString& name) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(home->path() + "/" + name);
    printer->setPageSize(QPageSize(QPageSize::A4));
    return printer;
}

// Runs `act` on the modal window of type W as soon as it is the active modal window (it opens
// after work that lets events through, so a single zero timer may come too early).
template <typename W, typename Act>
void when_modal(Act act) {
    auto* poll = new QTimer;
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    QObject::connect(poll, &QTimer::timeout, [poll, started, act]() mutable {
        if (auto* w = qobject_cast<W*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            act(*w);
        } else if (started->elapsed() > 10000) {
            poll->stop();
            poll->deleteLater();
            qWarning("no modal window appeared");
        }
    });
    poll->start(10);
}

struct FakeMainFields final : ostrivane::FieldSource {
    std::string text(std::string_view field) const override {
        return field == "Smot_name" ? "Schaakstuk" : "";
    }
    void set_text(std::string_view, std::string_view) override {}
    std::string label(std::string_view) const override { return {}; }
    bool checked(std::string_view) const override { return false; }
    int selected(std::string_view) const override { return -1; }
} main_fields;

}  // namespace

void PlanWindowTest::init() {
    home = std::make_unique<ostrivane::test::QtTempHome>();
    QDir().mkpath(home->data_folder());
    op = std::make_unique<ostrivane::test::ScriptedOperator>();
    log_lines.clear();
}

void PlanWindowTest::cleanup() {
    op.reset();
    home.reset();
}

void PlanWindowTest::opensWithThePlankListAndNamedControls() {
    auto w = open_window();
    ostrivane::test::Profile profile(cylinder(150));
    w->set_sources(&profile.set, 100, &main_fields, nullptr);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QCOMPARE(w->windowTitle(), QStringLiteral("Create cutting plans"));
    // Radius 35 and a 10 mm margin: five 18 mm planks.
    QCOMPARE(w->PlankList()->count(), 3);
    QCOMPARE(w->PlankList()->item(0)->text(), QStringLiteral("1 Mid plank"));
    QCOMPARE(w->PlankList()->item(2)->text(), QStringLiteral("2 times plank3"));
    QCOMPARE(w->PlankList()->currentRow(), 0);
    QVERIFY(!w->PageCombo()->isVisible());
    QVERIFY(!w->Image1().isVisible());
    QCOMPARE(w->beamthick()->text(), QStringLiteral("18"));
    QCOMPARE(w->margin()->text(), QStringLiteral("10"));
    QCOMPARE(w->beamthick()->Label1()->text(), QStringLiteral("Plank thickness (mm)"));
    QCOMPARE(w->margin()->Label1()->text(), QStringLiteral("Diameter margin (mm)"));
    QCOMPARE(w->findChild<QGroupBox*>("GroupBox1")->title(),
             QStringLiteral("Calculation settings"));
    QVERIFY(w->marks()->isChecked());
    // Screen readers and GUI robots find every control by its label or hint.
    QCOMPARE(w->beamthick()->Ed()->accessibleName(), QStringLiteral("Plank thickness (mm)"));
    QCOMPARE(w->margin()->Ed()->accessibleName(), QStringLiteral("Diameter margin (mm)"));
    QCOMPARE(button(*w, "Calculate")->accessibleName(), QStringLiteral("Calculate"));
    QCOMPARE(button(*w, "Button1")->accessibleName(), QStringLiteral("Done"));
    QCOMPARE(w->marks()->accessibleName(), QStringLiteral("Scale bar and joining marks"));
    for (QWidget* c : w->findChildren<QWidget*>()) {
        const bool control = qobject_cast<QAbstractButton*>(c) || qobject_cast<QLineEdit*>(c) ||
                             qobject_cast<QListWidget*>(c) || qobject_cast<QComboBox*>(c);
        if (control)
            QVERIFY2(!c->accessibleName().isEmpty(), qPrintable(c->objectName()));
    }
    // A thinner plank changes the list as soon as the field is left.
    w->beamthick()->Ed()->setText(QStringLiteral("10"));
    Q_EMIT w->beamthick()->Ed()->editingFinished();
    QCOMPARE(w->PlankList()->count(), 5);
    QCOMPARE(w->PlankList()->item(4)->text(), QStringLiteral("2 times plank5"));
}

void PlanWindowTest::explainsWhyThereIsNoList() {
    auto w = open_window();
    ostrivane::test::Profile single({{0, 60}});
    w->set_sources(&single.set, 100, &main_fields, nullptr);
    w->show();
    QCOMPARE(w->PlankList()->count(), 0);
    QCOMPARE(w->errlabel().text(), QStringLiteral("The spline does not contain any points"));
    QVERIFY(!log_lines.empty());
    QCOMPARE(log_lines.back(), std::string("The spline does not contain any points"));
    w->hide();

    ostrivane::test::Profile profile(cylinder(150));
    w->set_sources(&profile.set, 100, &main_fields, nullptr);
    w->beamthick()->Ed()->setText(QStringLiteral("0"));
    w->show();
    QCOMPARE(w->PlankList()->count(), 0);
    QCOMPARE(w->errlabel().text(), QStringLiteral("Plank thickness (mm) must be greater than 0"));
    // Calculate says so in a message box, and prints nothing.
    auto printer = pdf_printer("none.pdf");
    w->set_sources(&profile.set, 100, &main_fields, printer.get());
    click(button(*w, "Calculate"));
    QCOMPARE(op->messages, std::vector<std::string>{"Plank thickness (mm) must be greater than 0"});
    QVERIFY(!QFile::exists(printer->outputFileName()));
    w->beamthick()->Ed()->setText(QStringLiteral("1,8"));
    click(button(*w, "Calculate"));
    QCOMPARE(op->messages.back(),
             std::string("1,8 inside Plank thickness (mm) is not a valid floating point number."));
}

void PlanWindowTest::keepsItsFieldsInPlannerIni() {
    {
        auto w = open_window();
        ostrivane::test::Profile profile(cylinder(150));
        w->set_sources(&profile.set, 100, &main_fields, nullptr);
        w->show();
        w->beamthick()->Ed()->setText(QStringLiteral("22.5"));
        w->margin()->Ed()->setText(QStringLiteral("6"));
        w->marks()->setChecked(false);
        w->PlankList()->setCurrentRow(1);
        click(button(*w, "Button1"));
        QVERIFY(!w->isVisible());
    }
    QFile file(QString::fromStdString(data_folder()) + "planner.ini");
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const auto record = ostrivane::decode_state_file(bytes.toStdString());
    const auto json = nlohmann::ordered_json::parse(record.json_text);
    std::vector<std::string> keys;
    for (const auto& [key, value] : json.items())
        keys.push_back(key);
    const std::vector<std::string> expected = {
        "VertScrollBox1", "PlotGrid1", "Image1",    "errlabel",    "col_an",          "LabelX",
        "LabelY",         "Button1",   "GroupBox1", "beamthickEd", "beamthickLabel1", "marginEd",
        "marginLabel1",   "Calculate", "PlankList", "PageCombo"};
    QCOMPARE(keys, expected);
    QCOMPARE(json["beamthickEd"]["data"].get<std::string>(), std::string("22.5"));
    QCOMPARE(json["marginEd"]["data"].get<std::string>(), std::string("6"));
    QCOMPARE(json["beamthickLabel1"]["data"].get<std::string>(),
             std::string("Plank thickness (mm)"));
    QCOMPARE(json["PageCombo"]["data"].get<std::string>(), std::string("PageCombo"));
    QVERIFY(json["Button1"].empty());
    // A new window starts with what the last one saved.
    {
        auto again = open_window();
        QCOMPARE(again->beamthick()->text(), QStringLiteral("22.5"));
        QCOMPARE(again->margin()->text(), QStringLiteral("6"));
        // The marks switch is not part of the file.
        QVERIFY(again->marks()->isChecked());
    }
    // A damaged file restores what it can and the window still opens.
    QFile damaged(QString::fromStdString(data_folder()) + "planner.ini");
    QVERIFY(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write("\x7f{\"VertScrollBox1\"");
    damaged.close();
    auto w = open_window();
    QCOMPARE(w->beamthick()->text(), QStringLiteral("18"));
    // The damaged file is kept aside before closing saves the window's fields over it.
    QFile kept(damaged.fileName() + ".unreadable");
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("\x7f{\"VertScrollBox1\""));
    kept.close();
    QVERIFY(!log_lines.empty());
    QVERIFY(log_lines.back().find("planner.ini.unreadable") != std::string::npos);
    w->close();
    QVERIFY(damaged.open(QIODevice::ReadOnly));
    QVERIFY(damaged.readAll().startsWith("\x7f") == false);
    damaged.close();
#ifndef _WIN32
    // So does a pipe in its place, which would hold the opening for good if it were read.
    w.reset();
    QVERIFY(QFile::remove(damaged.fileName()));
    QCOMPARE(::mkfifo(damaged.fileName().toLocal8Bit().constData(), 0644), 0);
    auto piped = open_window();
    QCOMPARE(piped->beamthick()->text(), QStringLiteral("18"));
#endif
}

void PlanWindowTest::calculatePrintsEveryPageAndPreviewsThem() {
    auto w = open_window();
    ostrivane::test::Profile profile(cylinder(600));
    auto printer = pdf_printer("plan.pdf");
    w->set_sources(&profile.set, 100, &main_fields, printer.get());
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    w->PlankList()->setCurrentRow(1);
    click(button(*w, "Calculate"));
    QCOMPARE(op->messages, std::vector<std::string>{"Printing finished"});
    PlankPlan& plan = w->plan();
    QVERIFY(plan.calculated);
    QCOMPARE(plan.plank.entry, 2);
    QVERIFY(plan.sizing.use_height);
    QCOMPARE(plan.layout.P, 3);
    // The printer was set to 100 dots per inch before its page was read.
    QCOMPARE(plan.page.dx, 100.0);
    QCOMPARE(plan.page.PW, static_cast<double>(printer->width()));
    QCOMPARE(w->PageCombo()->count(), 3);
    QVERIFY(w->PageCombo()->isVisible());
    for (int i = 0; i < 3; ++i)
        QCOMPARE(w->PageCombo()->itemText(i), QStringLiteral("Show page: %1").arg(i + 1));
    QCOMPARE(w->PageCombo()->currentIndex(), 0);
    QCOMPARE(ostrivane::test::pdf_page_count(printer->outputFileName()), 3);
    // The preview starts at the template's start, though printed page 1 holds its far end.
    QCOMPARE(plan.layout.pages[0].segment, 2);
    QVERIFY(w->Image1().isVisible());
    QCOMPARE(w->Image1().mode(), PageImage::Mode::Fitted);
    const auto bitmap_corner_is = [&](const ostrivane::PageWindow& win) {
        const ostrivane::GrafBounds& g = w->thegrita().grbounds_BMP;
        return std::abs(win.xmin * g.AX + g.BX) < 1e-6 && std::abs(win.ymax * g.AY + g.BY) < 1e-6;
    };
    QVERIFY(bitmap_corner_is(plan.layout.preview[0]));
    w->PageCombo()->setCurrentIndex(2);
    QVERIFY(bitmap_corner_is(plan.layout.preview[2]));
    // The preview bitmap holds the outline and the axis but no text: blue, and nothing black.
    const QImage& bitmap = w->Image1().bitmap();
    QCOMPARE(bitmap.size(), QSize(ostrivane::page_bitmap_width(plan.page),
                                  ostrivane::page_bitmap_height(plan.page)));
    int blue = 0;
    int black = 0;
    for (int y = 0; y < bitmap.height(); y += 2) {
        for (int x = 0; x < bitmap.width(); x += 2) {
            const QRgb c = bitmap.pixel(x, y);
            blue += qAlpha(c) == 255 && qBlue(c) == 255 && qRed(c) == 0;
            black += qAlpha(c) == 255 && qBlue(c) == 0 && qRed(c) == 0 && qGreen(c) == 0;
        }
    }
    QVERIFY(blue > 100);
    QCOMPARE(black, 0);
    // A calculation that fails leaves no stale pages behind.
    w->beamthick()->Ed()->setText(QStringLiteral("-1"));
    click(button(*w, "Calculate"));
    QCOMPARE(op->messages.back(), std::string("Plank thickness (mm) must be greater than 0"));
    QVERIFY(!w->PageCombo()->isVisible());
    QVERIFY(!w->Image1().isVisible());
}

void PlanWindowTest::marksCanBeSwitchedOff() {
    // The same plan printed with and without the marks: the scale bar alone is 100 mm of black
    // line, so the marked page holds clearly more dark dots; the page count stays.
    std::vector<int> dark;
    for (const bool marks : {true, false}) {
        auto w = open_window();
        ostrivane::test::Profile profile(cylinder(150));
        auto printer = pdf_printer(marks ? "marks.pdf" : "plain.pdf");
        w->set_sources(&profile.set, 100, &main_fields, printer.get());
        w->show();
        w->marks()->setChecked(marks);
        click(button(*w, "Calculate"));
        const auto raster = ostrivane::test::rasterise_pdf(printer->outputFileName(), 100);
        QVERIFY2(raster.error.isEmpty(), qPrintable(raster.error));
        QCOMPARE(static_cast<int>(raster.pages.size()), 1);
        const QImage& page = raster.pages[0];
        int count = 0;
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x)
                count += qGray(page.pixel(x, y)) < 100;
        }
        dark.push_back(count);
    }
    // 100 mm at 100 dpi is 394 dots, drawn half a millimetre thick.
    QVERIFY2(dark[0] - dark[1] > 394,
             qPrintable(QStringLiteral("%1 against %2 dark dots").arg(dark[0]).arg(dark[1])));
}

void PlanWindowTest::showsTheMouseInWorldCoordinates() {
    auto w = open_window();
    ostrivane::test::Profile profile(cylinder(150));
    auto printer = pdf_printer("mouse.pdf");
    w->set_sources(&profile.set, 100, &main_fields, printer.get());
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    click(button(*w, "Calculate"));
    const QPoint at(123, 217);
    QTest::mouseMove(&w->PlotGrid1(), at);
    QCoreApplication::processEvents();
    float x = 0;
    float y = 0;
    w->thegrita().Coords(at.x(), at.y(), x, y);
    // Along the page height the plot's x runs across the template, and the read-out says so.
    QVERIFY(w->plan().sizing.use_height);
    QCOMPARE(w->LabelX()->text(),
             QStringLiteral("X (radius): %1").arg(static_cast<double>(x), 0, 'f', 3));
    QCOMPARE(w->LabelY()->text(),
             QStringLiteral("Y (length): %1").arg(static_cast<double>(y), 0, 'f', 3));
    // Otherwise the plot's axes are the profile's.
    w->plan().calculated = false;
    QTest::mouseMove(&w->PlotGrid1(), at + QPoint(1, 0));
    QCoreApplication::processEvents();
    QVERIFY(w->LabelX()->text().startsWith(QStringLiteral("X: ")));
}

void PlanWindowTest::keyboardAndScreenReadersReachEverything() {
    auto w = open_window();
    ostrivane::test::Profile profile(cylinder(150));
    w->set_sources(&profile.set, 100, &main_fields, nullptr);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    // A window of its own, and each field frame named by its label.
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(w.get());
    QVERIFY(window != nullptr);
    QCOMPARE(window->role(), QAccessible::Window);
    QCOMPARE(w->beamthick()->accessibleName(), QStringLiteral("Plank thickness (mm)"));
    QCOMPARE(w->margin()->accessibleName(), QStringLiteral("Diameter margin (mm)"));
    // The plank list is reached from the margin field with Tab and chosen with the arrows.
    w->margin()->Ed()->setFocus();
    QTRY_VERIFY(w->margin()->Ed()->hasFocus());
    for (int i = 0; i < 4 && !w->PlankList()->hasFocus(); ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QVERIFY(w->PlankList()->hasFocus());
    QTest::keyClick(w->PlankList(), Qt::Key_Down);
    QCOMPARE(w->PlankList()->currentRow(), 1);
    // A message about a field goes on in lines instead of running off the panel.
    QVERIFY(w->errlabel().wordWrap());
    // Escape closes the window also when the preview has the focus.
    w->PlotGrid1().setFocus();
    QTRY_VERIFY(w->PlotGrid1().hasFocus());
    QTest::keyClick(&w->PlotGrid1(), Qt::Key_Escape);
    QVERIFY(!w->isVisible());
}

void PlanWindowTest::exportWritesEveryPlankAsADrawing() {
    auto w = open_window();
    ostrivane::test::Profile profile(cylinder(150));
    w->set_sources(&profile.set, 100, &main_fields, nullptr);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    auto* exporter = button(*w, "Export");
    QCOMPARE(exporter->accessibleName(), QStringLiteral("Export…"));
    // The kind of drawing follows the name chosen; no printer is needed.
    for (const QString& name :
         {QStringLiteral("/templates.dxf"), QStringLiteral("/templates.svg")}) {
        const QString file = home->path() + name;
        w->set_export_chooser(
            [&](const std::string&) { return std::optional<std::string>(file.toStdString()); });
        click(exporter);
        QCOMPARE(op->messages.back(), file.toStdString() + " written");
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        // Radius 35, a 10 mm margin, 18 mm planks: three list entries, each a plank.
        const QByteArray outline = name.endsWith("dxf") ? "LWPOLYLINE" : "inkscape:label=\"";
        QCOMPARE(bytes.count(outline), name.endsWith("dxf") ? 3 : 4);
        QVERIFY(bytes.contains("2 times plank3"));
    }
    // Cancelling the file choice writes nothing.
    const auto before = op->messages.size();
    w->set_export_chooser([](const std::string&) { return std::nullopt; });
    click(exporter);
    QCOMPARE(op->messages.size(), before);
}

void PlanWindowTest::exportStartsWhereTheLastExportWent() {
    auto w = open_window();
    ostrivane::test::Profile profile(cylinder(150));
    w->set_sources(&profile.set, 100, &main_fields, nullptr);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    std::vector<std::string> offered;
    QString answer;
    w->set_export_chooser([&](const std::string& suggested) {
        offered.push_back(suggested);
        return answer.isEmpty() ? std::nullopt : std::optional(answer.toStdString());
    });
    // The first time in Documents, not in the folder the program was started from.
    const QString documents = home->path() + "/Documents/";
    click(button(*w, "Export"));
    QVERIFY(QDir().mkpath(home->path() + "/drawings"));
    answer = home->path() + "/drawings/vase.dxf";
    click(button(*w, "Export"));
    QCOMPARE(op->messages.back(), answer.toStdString() + " written");
    // Then where the last drawing went, also for a window opened later.
    auto later = open_window();
    later->set_sources(&profile.set, 100, &main_fields, nullptr);
    later->show();
    later->set_export_chooser([&](const std::string& suggested) {
        offered.push_back(suggested);
        return std::nullopt;
    });
    click(button(*later, "Export"));
    // A folder that is gone again gives Documents back.
    QVERIFY(QDir(home->path() + "/drawings").removeRecursively());
    click(button(*later, "Export"));
    const std::vector<std::string> expected = {
        (documents + "Schaakstuk saw plan.svg").toStdString(),
        (documents + "Schaakstuk saw plan.svg").toStdString(),
        (home->path() + "/drawings/Schaakstuk saw plan.svg").toStdString(),
        (documents + "Schaakstuk saw plan.svg").toStdString()};
    QCOMPARE(offered, expected);
    // planner.ini is not where this is kept.
    later->close();
    QFile state(home->data_folder() + "planner.ini");
    QVERIFY(state.open(QIODevice::ReadOnly));
    QVERIFY(!state.readAll().contains("drawings"));
}

void PlanWindowTest::pickingAPlankPreviewsItsTemplate() {
    auto w = open_window();
    ostrivane::test::Profile profile(cylinder(600));
    auto printer = pdf_printer("preview.pdf");
    w->set_sources(&profile.set, 100, &main_fields, printer.get());
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    // On opening, the first plank's template is on the preview, laid out on the printer's
    // pages; nothing is printed and nothing asked.
    PlankPlan& plan = w->plan();
    QVERIFY(plan.calculated);
    QCOMPARE(plan.plank.entry, 1);
    QVERIFY(w->Image1().isVisible());
    QVERIFY(w->PageCombo()->isVisible());
    QCOMPARE(w->PageCombo()->count(), plan.layout.P);
    QVERIFY(!QFile::exists(printer->outputFileName()));
    QVERIFY(op->messages.empty());
    const auto blue_dots = [&] {
        const QImage& bitmap = w->Image1().bitmap();
        int blue = 0;
        for (int y = 0; y < bitmap.height(); y += 2) {
            for (int x = 0; x < bitmap.width(); x += 2) {
                const QRgb c = bitmap.pixel(x, y);
                blue += qAlpha(c) == 255 && qBlue(c) == 255 && qRed(c) == 0;
            }
        }
        return blue;
    };
    QVERIFY(blue_dots() > 100);
    // The arrow keys pick another plank, and the preview follows.
    w->PlankList()->setFocus();
    QTest::keyClick(w->PlankList(), Qt::Key_Down);
    QCOMPARE(w->PlankList()->currentRow(), 1);
    QCOMPARE(plan.plank.entry, 2);
    QVERIFY(blue_dots() > 100);
    QVERIFY(!QFile::exists(printer->outputFileName()));
    // A thickness with no planks leaves no stale preview.
    w->beamthick()->Ed()->setText(QStringLiteral("0"));
    Q_EMIT w->beamthick()->Ed()->editingFinished();
    QVERIFY(!plan.calculated);
    QVERIFY(!w->Image1().isVisible());
    QVERIFY(!w->PageCombo()->isVisible());
    QVERIFY(op->messages.empty());
}

void PlanWindowTest::createSawPlansPressedAgainStartsNoSecondDialog() {
    ostrivane::gui::TOstrivane main(op.get());
    ostrivane::test::Profile profile(cylinder(150));
    int dialogs = 0;
    bool second_accepted = true;
    const auto run_dialog = [&](QPrinter&, QWidget*) {
        ++dialogs;
        when_modal<Tplanform>([&](Tplanform& w) {
            // The button pressed again while the window is open: nothing new starts.
            second_accepted =
                main.saw_plans().createplanClick(profile.set, 100, [&](QPrinter&, QWidget*) {
                    ++dialogs;
                    return true;
                });
            QVERIFY(w.isVisible());
            click(button(w, "Button1"));
        });
        return true;
    };
    QVERIFY(main.saw_plans().createplanClick(profile.set, 100, run_dialog));
    QCOMPARE(dialogs, 1);
    QVERIFY(!second_accepted);
}

void PlanWindowTest::createSawPlansRunsThePrintDialogThenTheWindow() {
    ostrivane::gui::TOstrivane main(op.get());
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QPrinter& printer = main.saw_plans().plan_printer();
    const QString pdf = home->path() + "/from-dialog.pdf";
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    ostrivane::test::Profile profile(cylinder(600));
    bool dialog_seen = false;
    bool window_seen = false;
    // The print dialog is accepted as the operator would; then the plan window is driven.
    when_modal<QPrintDialog>([&](QPrintDialog& dialog) {
        dialog_seen = true;
        when_modal<Tplanform>([&](Tplanform& w) {
            window_seen = true;
            click(button(w, "Calculate"));
            w.PageCombo()->setCurrentIndex(1);
            click(button(w, "Button1"));
        });
        dialog.accept();
    });
    QVERIFY(main.saw_plans().createplanClick(profile.set, 100));
    QVERIFY(dialog_seen);
    QVERIFY(window_seen);
    QCOMPARE(op->messages.back(), std::string("Printing finished"));
    QCOMPARE(ostrivane::test::pdf_page_count(pdf), 3);
    // The printer's pages hold the template at true scale: the axis line, measured over the
    // three pages, is as long as the template.
    Tplanform& w = main.saw_plans().plan_window();
    const auto raster = ostrivane::test::rasterise_pdf(pdf, 200);
    QVERIFY2(raster.error.isEmpty(), qPrintable(raster.error));
    double printed_mm = 0;
    for (const QImage& page : raster.pages)
        printed_mm += ostrivane::test::longest_blue_run(page) * 25.4 / 200;
    const double template_mm = w.plan().sizing.SizeX / w.plan().sizing.scale;
    QVERIFY2(std::abs(printed_mm - template_mm) <= 1.0,
             qPrintable(QStringLiteral("printed %1 mm of %2").arg(printed_mm).arg(template_mm)));
    // The page texts carry the main window's G-code file name.
    QCOMPARE(w.plan().texts(1)[1].find("Name: Karvik") != std::string::npos, true);
    QVERIFY(QFile::exists(home->data_folder() + "planner.ini"));
}

void PlanWindowTest::cancelledPrintDialogOpensNoWindow() {
    ostrivane::gui::TOstrivane main(op.get());
    ostrivane::test::Profile profile(cylinder(150));
    bool opened = false;
    const bool accepted =
        main.saw_plans().createplanClick(profile.set, 100, [&](QPrinter&, QWidget*) {
            QTimer::singleShot(0, [&] {
                opened = QApplication::activeModalWidget() != nullptr;
                if (auto* w = QApplication::activeModalWidget())
                    w->close();
            });
            return false;
        });
    QCoreApplication::processEvents();
    QVERIFY(!accepted);
    QVERIFY(!opened);
    QVERIFY(!main.saw_plans().plan_window().isVisible());
}

void PlanWindowTest::createSawPlansTakesTheProgramsSplineFile() {
    ostrivane::gui::TOstrivane main(op.get());
    // Until the editor hands over its profile, the plan is made from the current program's
    // spline file: a cylinder of radius 35 gives five planks, three list entries.
    ostrivane::SplineDocument document;
    document.profile.points = cylinder(150);
    main.fields().set_text("Smot_name", "Kandelaar");
    QFile spl(QString::fromStdString(main.IniFilePath()) + "Kandelaar.spl");
    QVERIFY(spl.open(QIODevice::WriteOnly));
    const std::string bytes = ostrivane::write_spline_file(document);
    spl.write(bytes.data(), static_cast<qint64>(bytes.size()));
    spl.close();
    int entries = -1;
    const auto accept_and_look = [&](QPrinter&, QWidget*) {
        when_modal<Tplanform>([&](Tplanform& w) {
            entries = w.PlankList()->count();
            click(button(w, "Button1"));
        });
        return true;
    };
    QVERIFY(main.saw_plans().createplanClick(accept_and_look));
    QCOMPARE(entries, 3);
    // A field that is not a number is shown, not thrown into the event loop.
    main.fields().set_text("resolution", "1O00");
    QVERIFY(!main.saw_plans().createplanClick(accept_and_look));
    QCOMPARE(op->messages.back(),
             std::string("1O00 inside Spline samples/mm is not a valid floating point number."));
}

void PlanWindowTest::printedAxisLineIsAsLongAsTheTemplate() {
    // The command line prints through the same code as the window; each case prints a PDF,
    // rasterises it and measures the blue axis line on every page with a ruler of pixels.
    struct Case {
        const char* name;
        QStringList args;
        double scale;
        int pages;
    };
    const QString spline = home->path() + "/profile.spl";
    const QString points = home->path() + "/points.txt";
    {
        QFile f(points);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("0;70\n40;55\n120;62\n230;50\n330;66\n");
    }
    QProcess import;
    import.start(OSTRIVANE_CLI_PATH, {"spline", "import", points, "--output", spline});
    QVERIFY(import.waitForFinished(30000) && import.exitCode() == 0);
    const std::vector<Case> cases = {
        {"two pages up the A4 height", {}, 1, 2},
        {"two pages along a landscape width", {"--page", "1169x827"}, 1, 2},
        {"at 1:2 on a small page", {"--page", "500x400", "--plank", "2", "--axis", "200"}, 2, 2},
        {"a 300 dpi printer", {"--dpi", "300", "--page", "2480x3508", "--margin", "4"}, 1, 2},
        // Placed by the exact resolution, not one rounded to a whole number.
        {"a fractional resolution", {"--dpi", "72.5", "--page", "600x848"}, 1, 2},
        {"other resolutions across and down", {"--dpi", "100x150", "--page", "827x1754"}, 1, 2},
    };
    for (const Case& c : cases) {
        const QString pdf = home->path() + "/measured.pdf";
        QFile::remove(pdf);
        QProcess cli;
        cli.start(OSTRIVANE_CLI_PATH,
                  QStringList{"plan", "--spline", spline, "--json", "--pdf", pdf} + c.args);
        QVERIFY2(cli.waitForFinished(60000) && cli.exitCode() == 0,
                 qPrintable(QString::fromLocal8Bit(cli.readAllStandardError())));
        const auto plan = nlohmann::json::parse(cli.readAllStandardOutput().toStdString());
        const double length_mm =
            plan["sizing"]["SizeX"].get<double>() / plan["sizing"]["scale"].get<double>();
        const int pages = static_cast<int>(plan["pages"].size());
        QCOMPARE(plan["sizing"]["scale"].get<double>(), c.scale);
        QCOMPARE(pages, c.pages);
        QCOMPARE(ostrivane::test::pdf_page_count(pdf), pages);
        constexpr int kDpi = 200;
        const auto raster = ostrivane::test::rasterise_pdf(pdf, kDpi);
        QVERIFY2(raster.error.isEmpty(), qPrintable(raster.error));
        QCOMPARE(static_cast<int>(raster.pages.size()), pages);
        double printed_mm = 0;
        for (const QImage& page : raster.pages)
            printed_mm += ostrivane::test::longest_blue_run(page) * 25.4 / kDpi;
        qInfo("%s: printed %.3f mm, template %.3f mm", c.name, printed_mm, length_mm);
        QVERIFY2(std::abs(printed_mm - length_mm) <= 1.0,
                 qPrintable(QStringLiteral("%1: printed %2 mm, template %3 mm at 1:%4")
                                .arg(c.name)
                                .arg(printed_mm)
                                .arg(length_mm)
                                .arg(plan["sizing"]["scale"].get<double>())));
    }
}
