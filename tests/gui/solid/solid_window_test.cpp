#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <memory>

#include "core/solid/job_pieces.h"
#include "core/solid/stations.h"
#include "core/solid/stl_file.h"
#include "gui/app/main_window.h"
#include "gui/check/backplot_window.h"
#include "gui/editor/draw_spline.h"
#include "gui/plot/plot_grid.h"
#include "gui/solid/solid_view_widget.h"
#include "gui/solid/solid_window.h"
#include "support/scripted_operator.h"
#include "temp_home.h"

using namespace ostrivane;
using namespace ostrivane::gui;

namespace {

// A turned vase, and a piece cut from a beam with a groove too deep and a stretch left short.
std::vector<ShownPiece> two_pieces() {
    std::vector<Station> vase;
    for (int i = 0; i <= 100; ++i)
        vase.push_back({i * 2.0, 30 + 10 * std::sin(i / 10.0)});
    std::vector<Station> cut;
    for (int i = 0; i <= 100; ++i) {
        const std::uint32_t colour = i > 40 && i < 50 ? kOvercutColour
                                     : i > 70         ? kMaterialLeftColour
                                                      : kWoodColour;
        cut.push_back({i * 2.0, 45 - (i > 40 && i < 50 ? 10 : 0), colour});
    }
    return {{QStringLiteral("Designed"), PieceShape{{vase}, 0}},
            {QStringLiteral("As cut"), PieceShape{{cut}, 80}}};
}

int differing_pixels(const QImage& a, const QImage& b) {
    int n = 0;
    for (int y = 0; y < std::min(a.height(), b.height()); ++y)
        for (int x = 0; x < std::min(a.width(), b.width()); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

void wheel(QWidget* w, QPoint at, int delta) {
    QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

}  // namespace

class SolidWindowTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void theMouseTurnsZoomsAndMovesThePiece();
    void everyControlHasANameAndTheCutPieceShowsItsColours();
    void exportWritesTheShownPieceAsStl();
    void theEditorOpensItWithF12AndItsButton();
    void theBackplotOffersItForATurningCheck();
};

void SolidWindowTest::theMouseTurnsZoomsAndMovesThePiece() {
    SolidWindow w(two_pieces());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    SolidViewWidget* view = w.view();
    const QImage before = view->picture();
    const SolidCamera start = view->camera();
    const QPoint middle = view->rect().center();

    QTest::mousePress(view, Qt::LeftButton, {}, middle);
    QTest::mouseMove(view, middle + QPoint(60, 20));
    QTest::mouseRelease(view, Qt::LeftButton, {}, middle + QPoint(60, 20));
    QVERIFY(view->camera().yaw > start.yaw + 10);
    QVERIFY(view->camera().pitch > start.pitch);
    const QImage turned = view->picture();
    QVERIFY(differing_pixels(before, turned) > 500);

    wheel(view, middle, 240);
    QVERIFY(view->camera().zoom > start.zoom * 1.2);
    wheel(view, middle, -480);
    QVERIFY(view->camera().zoom < start.zoom);

    const SolidCamera zoomed = view->camera();
    QTest::mousePress(view, Qt::MiddleButton, {}, middle);
    QTest::mouseMove(view, middle + QPoint(-30, 15));
    QTest::mouseRelease(view, Qt::MiddleButton, {}, middle + QPoint(-30, 15));
    QCOMPARE(view->camera().pan_x - zoomed.pan_x, -30.0);
    QCOMPARE(view->camera().pan_y - zoomed.pan_y, 15.0);
    QCOMPARE(view->camera().yaw, zoomed.yaw);

    const double yaw = view->camera().yaw;
    QTest::keyClick(view, Qt::Key_Right);
    QCOMPARE(view->camera().yaw, yaw + 10);
    QTest::keyClick(view, Qt::Key_Home);
    QCOMPARE(view->camera().yaw, start.yaw);
    QCOMPARE(view->camera().zoom, start.zoom);
    QCOMPARE(differing_pixels(before, view->picture()), 0);
}

void SolidWindowTest::everyControlHasANameAndTheCutPieceShowsItsColours() {
    SolidWindow w(two_pieces());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    for (QWidget* c : w.findChildren<QWidget*>()) {
        if (qobject_cast<QAbstractButton*>(c) || qobject_cast<QComboBox*>(c) ||
            qobject_cast<SolidViewWidget*>(c) || qobject_cast<QLabel*>(c)) {
            const bool buddy_label = qobject_cast<QLabel*>(c) && c->accessibleName().isEmpty() &&
                                     qobject_cast<QLabel*>(c)->buddy() != nullptr;
            QVERIFY2(!c->accessibleName().isEmpty() || buddy_label,
                     qPrintable(c->objectName() + QStringLiteral(" has no accessible name")));
        }
    }
    // The cut piece is shown first, with its colours named and drawn.
    QCOMPARE(w.piece_box()->currentText(), QStringLiteral("As cut"));
    QVERIFY(w.findChild<QLabel*>(QStringLiteral("SolidLegend"))->text().contains("red"));
    const QImage cut = w.view()->picture();
    int reddish = 0;
    for (int y = 0; y < cut.height(); ++y)
        for (int x = 0; x < cut.width(); ++x)
            reddish += qRed(cut.pixel(x, y)) > 2 * qGreen(cut.pixel(x, y)) + 20;
    QVERIFY(reddish > 100);
    w.piece_box()->setCurrentIndex(0);
    QVERIFY(w.findChild<QLabel*>(QStringLiteral("SolidLegend"))->text().isEmpty());
    QVERIFY(w.summary()->text().contains(QStringLiteral("200.0 mm long")));
}

void SolidWindowTest::exportWritesTheShownPieceAsStl() {
    test::QtTempHome home;
    SolidWindow w(two_pieces());
    w.piece_box()->setCurrentIndex(0);
    const std::filesystem::path file = (home.path() + QStringLiteral("/vase.stl")).toStdString();
    w.export_stl(file);
    QFile f(QString::fromStdString(file.string()));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const Mesh mesh = mesh_of(two_pieces()[0].shape, kDefaultTolerance);
    QCOMPARE(f.size(), qint64(84 + 50 * mesh.triangles.size()));
}

void SolidWindowTest::theEditorOpensItWithF12AndItsButton() {
    test::QtTempHome home;
    test::ScriptedOperator op;
    TOstrivane main(&op);
    EditorLink link;
    link.fields = &main.fields();
    link.op = &op;
    link.data_folder = main.IniFilePath();
    link.log = [](std::string_view, bool) {};
    TSplineform editor(link);
    main.fields().set_text("Smot_name", "Vase");
    main.fields().set_text("resolution", "10");
    QTRY_VERIFY(!editor.findChild<QTimer*>(QStringLiteral("load_data_timer"))->isActive());
    editor.load_data();
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    PlotGrid& plot = *editor.plot();
    const auto key_at = [&](double x, double y, Qt::Key key) {
        float px = 0;
        float py = 0;
        editor.thegrita().ScreenCoords(x, y, px, py);
        QCursor::setPos(plot.mapToGlobal(QPoint(qRound(px), qRound(py))));
        QTest::keyClick(&plot, key);
    };
    for (const auto& [x, y] : std::vector<std::pair<double, double>>{
             {20, 60}, {120, 40}, {220, 70}, {320, 30}, {420, 55}, {520, 45}})
        key_at(x, y, Qt::Key_F2);

    key_at(300, 50, Qt::Key_F12);
    SolidWindow* w = editor.solid_window();
    QVERIFY(w != nullptr);
    QVERIFY(w->isVisible());
    QCOMPARE(w->piece_box()->count(), 1);
    QCOMPARE(w->piece_box()->currentText(), QStringLiteral("Designed"));

    // After F7 the view shows the piece as the program cuts it too.
    op.answer = Operator::Answer::No;  // the fast rough question
    key_at(300, 50, Qt::Key_F7);
    auto* button = editor.findChild<QAbstractButton*>(QStringLiteral("SolidBut"));
    QVERIFY(button != nullptr);
    QCOMPARE(button->accessibleName(), QStringLiteral("3D view"));
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    QTRY_VERIFY(editor.solid_window() != nullptr && editor.solid_window() != w);
    w = editor.solid_window();
    QCOMPARE(w->piece_box()->count(), 2);
    QCOMPARE(w->piece_box()->currentText(), QStringLiteral("As cut by Vase.ngc"));
    QVERIFY(op.errors.empty());
}

void SolidWindowTest::theBackplotOffersItForATurningCheck() {
    JobCheck check;
    for (int i = 0; i <= 100; ++i)
        check.report.envelope.push_back({i * 1.0, 60, 60});
    BackplotWindow window(check, {}, QStringLiteral("job.ngc"));
    QVERIFY(!window.solid_button()->isVisibleTo(&window));
    window.set_turning(100, 80);
    QVERIFY(window.solid_button()->isVisibleTo(&window));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(window.solid_button(), Qt::LeftButton);
    SolidWindow* w = window.findChild<SolidWindow*>();
    QVERIFY(w != nullptr);
    QCOMPARE(w->piece_box()->count(), 2);
    QVERIFY(w->summary()->text().contains(QStringLiteral("100.0 mm long")));
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    SolidWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "solid_window_test.moc"
