#include <QSequentialAnimationGroup>
#include <QtTest>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "core/plot/tgrita.h"
#include "gui/plot/message_label_widget.h"
#include "gui/plot/plot_grid.h"
#include "render/image_canvas.h"
#include "support/recording_canvas.h"

using namespace ostrivane;

namespace {

constexpr Argb kBlack = 0xFF000000u;
constexpr Argb kRed = 0xFFFF0000u;

QImage white_image(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(Qt::white);
    return image;
}

bool inked(const QImage& image, int x, int y) {
    return qGray(image.pixel(x, y)) < 200;
}

// Inked within a pixel of (x, y): antialiased outlines may fall on either neighbour.
bool ink_near(const QImage& image, int x, int y) {
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if (inked(image, x + dx, y + dy)) {
                return true;
            }
        }
    }
    return false;
}

// The darkness-weighted centre of everything drawn.
QPointF ink_centre(const QImage& image) {
    double sx = 0, sy = 0, sw = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const double w = 255 - qGray(image.pixel(x, y));
            sx += w * (x + 0.5);
            sy += w * (y + 0.5);
            sw += w;
        }
    }
    return sw > 0 ? QPointF(sx / sw, sy / sw) : QPointF(-1, -1);
}

}  // namespace

class PlotCanvasTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void circleRadiusFollowsTheXScale();
    void barFillsTheSameRectangleInEitherCornerOrder();
    void markerIsCentredOnItsPoint();
    void linesHaveThicknessAndDash();
    void primitivesInsideAHostsSceneKeepItsPainter();
    void aSceneDrawsWhatItsPrimitivesDrawAlone();
    void textAfterAFontChangeMatchesAFreshCanvas();
    void gridHasThinAndHeavyLines();
    void drawingOutsideThePaintHandlerLastsUntilRepaint();
    void labelFadesInAndOut();
    void graphMessageReachesLabelAndLog();
    void longNoticeWrapsWithinThePicture();
};

void PlotCanvasTest::circleRadiusFollowsTheXScale() {
    QImage image = white_image(200, 200);
    ImageCanvas screen(image);
    Tgrita grita(screen, nullptr, false);
    grita.SetViewport(0, 0, 1, 1);
    grita.SetWindow(0, 0, 100, 200);  // AX = 2, AY = -1
    grita.Circle(50, 100, 20, kBlack);

    // Centre at pixel (100, 100), radius 40 pixels both ways.
    for (const auto& [x, y] :
         std::array<std::pair<int, int>, 4>{{{140, 100}, {60, 100}, {100, 60}, {100, 140}}}) {
        QVERIFY2(ink_near(image, x, y), qPrintable(QString("no outline at %1,%2").arg(x).arg(y)));
    }
    QVERIFY(!ink_near(image, 100, 80));   // where a radius of AY * r would put it
    QVERIFY(!ink_near(image, 100, 100));  // an outline, not a disc
    QVERIFY(!ink_near(image, 145, 100));
}

void PlotCanvasTest::barFillsTheSameRectangleInEitherCornerOrder() {
    RecordingCanvas screen(100, 100);
    Tgrita grita(screen, nullptr, false);
    grita.SetViewport_BMP(100, 100, 0, 0, 1, 1);
    grita.SetWindow_BMP(0, 0, 100, 100, false);  // pixel = (x, 100 - y)

    const std::array<std::array<double, 4>, 4> orders{
        {{20, 30, 60, 70}, {60, 70, 20, 30}, {20, 70, 60, 30}, {60, 30, 20, 70}}};
    QImage first;
    for (const auto& k : orders) {
        QImage image = white_image(100, 100);
        ImageCanvas bitmap(image);
        grita.Drawbar(bitmap, k[0], k[1], k[2], k[3], kRed);
        QCOMPARE(QColor(image.pixel(21, 31)), QColor(Qt::red));
        QCOMPARE(QColor(image.pixel(58, 68)), QColor(Qt::red));
        QCOMPARE(QColor(image.pixel(19, 50)), QColor(Qt::white));
        QCOMPARE(QColor(image.pixel(61, 50)), QColor(Qt::white));
        QCOMPARE(QColor(image.pixel(40, 28)), QColor(Qt::white));
        QCOMPARE(QColor(image.pixel(40, 71)), QColor(Qt::white));
        if (first.isNull()) {
            first = image;
        }
        QCOMPARE(image, first);
    }
}

void PlotCanvasTest::markerIsCentredOnItsPoint() {
    QImage screen_image = white_image(120, 100);
    ImageCanvas screen(screen_image);
    Tgrita grita(screen, nullptr, false);
    grita.SetViewport(0, 0, 1, 1);
    grita.SetWindow(0, 0, 120, 100);
    grita.Marker(50, 40, "+", kBlack);  // pixel (50, 60)
    const QPointF on_screen = ink_centre(screen_image);
    QVERIFY2(std::abs(on_screen.x() - 50) <= 1.0 && std::abs(on_screen.y() - 60) <= 1.0,
             qPrintable(QString("centre at %1,%2").arg(on_screen.x()).arg(on_screen.y())));

    QImage bitmap_image = white_image(240, 200);
    ImageCanvas bitmap(bitmap_image);
    grita.SetViewport_BMP(240, 200, 0, 0, 1, 1);
    grita.SetWindow_BMP(0, 0, 120, 100, false);  // twice the screen scale
    grita.Marker(bitmap, 50, 40, "+", kBlack);   // pixel (100, 120)
    const QPointF on_bitmap = ink_centre(bitmap_image);
    QVERIFY2(std::abs(on_bitmap.x() - 100) <= 1.0 && std::abs(on_bitmap.y() - 120) <= 1.0,
             qPrintable(QString("centre at %1,%2").arg(on_bitmap.x()).arg(on_bitmap.y())));
}

void PlotCanvasTest::linesHaveThicknessAndDash() {
    QImage image = white_image(100, 100);
    ImageCanvas canvas(image);
    Tgrita grita(canvas, nullptr, false);
    grita.SetViewport_BMP(100, 100, 0, 0, 1, 1);
    grita.SetWindow_BMP(0, 0, 100, 100, false);
    grita.DrawLine(6, canvas, 10, 50, 90, 50, kBlack);  // row 50, 6 pixels thick
    for (int y = 48; y <= 52; ++y) {
        QVERIFY(inked(image, 50, y));
    }
    QVERIFY(!inked(image, 50, 45));
    QVERIFY(!inked(image, 50, 55));
    QVERIFY(!inked(image, 8, 50));  // flat ends: nothing past the end point

    grita.SetViewport(0, 0, 1, 1);
    grita.SetWindow(0, 0, 100, 100);
    grita.SetlineStyle(Dash::Dash, 2);
    grita.DrawLine(10, 20, 90, 20, kBlack);  // row 80 of the same image
    int inked_pixels = 0;
    for (int x = 10; x < 90; ++x) {
        inked_pixels += inked(image, x, 80) ? 1 : 0;
    }
    QVERIFY2(inked_pixels > 20 && inked_pixels < 70, qPrintable(QString::number(inked_pixels)));

    // A polyline is closed back to its first point only when asked.
    const std::array<double, 3> xs{10, 90, 50};
    const std::array<double, 3> ys{10, 10, 40};
    for (const bool closed : {false, true}) {
        QImage triangle = white_image(100, 100);
        ImageCanvas target(triangle);
        grita.Polyline_BMP(1, target, xs, ys, 3, kBlack, closed);
        QVERIFY(ink_near(triangle, 50, 90));           // first edge, along the bottom
        QVERIFY(ink_near(triangle, 70, 75));           // second edge
        QCOMPARE(ink_near(triangle, 30, 75), closed);  // the closing edge
        QVERIFY(!ink_near(triangle, 50, 80));          // an outline, not filled
    }
}

// A host that brackets a whole picture keeps one painter: the primitives' own brackets nest in
// it instead of closing it.
void PlotCanvasTest::primitivesInsideAHostsSceneKeepItsPainter() {
    QImage image = white_image(100, 100);
    ImageCanvas screen(image);
    Tgrita grita(screen, nullptr, false);
    grita.SetViewport(0, 0, 1, 1);
    grita.SetWindow(0, 0, 100, 100);
    QVERIFY(screen.begin_scene());
    grita.DrawLine(10, 50, 90, 50, kBlack);
    QVERIFY(image.paintingActive());
    grita.Drawbar(20, 20, 30, 30, kBlack);
    QVERIFY(image.paintingActive());
    screen.end_scene();
    QVERIFY(!image.paintingActive());
    QVERIFY(ink_near(image, 50, 50));
    QVERIFY(inked(image, 25, 75));
    // Unbracketed calls still paint on their own and leave no painter behind.
    grita.DrawLine(10, 10, 90, 10, kBlack);
    QVERIFY(!image.paintingActive());
    QVERIFY(ink_near(image, 50, 90));
}

// The scene's painter carries its state from one primitive to the next; each primitive must
// still draw exactly what it draws with a painter of its own.
void PlotCanvasTest::aSceneDrawsWhatItsPrimitivesDrawAlone() {
    const Font small{"DejaVu Sans", 12};
    const Font large{"DejaVu Serif", 30};
    const auto draw = [&](ImageCanvas& c) {
        c.draw_line({5, 5}, {150, 90}, Pen{0xFF0000FFu, 3, Dash::Dash}, 0.4f);
        c.fill_text({10, 10, 60, 40}, "+", small, kBlack, TextAlign::Center, TextAlign::Center,
                    false, 1.0f);
        c.clear(0xFFF0F0F0u);  // a later primitive must blend again, not replace
        c.fill_rect({20, 20, 80, 60}, 0x80FF0000u, 0.5f);
        c.fill_text({30, 30, 150, 90}, "Wg 12,5", large, 0xFF008000u, TextAlign::Trailing,
                    TextAlign::Trailing, false, 0.6f);
        c.draw_path(Path{{{10, 80}, {40, 20}, {70, 85}, {100, 25}}, false}, Pen{kRed, 2}, 1.0f);
        c.fill_text({60, 5, 110, 35}, "+", small, kBlack, TextAlign::Leading, TextAlign::Leading,
                    false, 1.0f);
        c.draw_ellipse({90, 40, 140, 90}, Pen{kBlack, 1, Dash::Dot}, 0.7f);
        c.fill_path(Path{{{120, 10}, {150, 10}, {135, 40}}, true}, 0xC000A0A0u, 0.8f);
        c.draw_rect({5, 60, 45, 95}, Pen{0xFF808080u, 2}, 1.0f);
        c.fill_text({100, 60, 155, 95}, "+", small, kRed, TextAlign::Center, TextAlign::Center,
                    false, 0.3f);
    };
    QImage alone = white_image(160, 100);
    ImageCanvas alone_canvas(alone);
    draw(alone_canvas);
    QImage in_scene = white_image(160, 100);
    ImageCanvas scene_canvas(in_scene);
    QVERIFY(scene_canvas.begin_scene());
    draw(scene_canvas);
    scene_canvas.end_scene();

    QCOMPARE(in_scene, alone);
    int inked_pixels = 0;
    for (int y = 0; y < alone.height(); ++y) {
        for (int x = 0; x < alone.width(); ++x) {
            inked_pixels += alone.pixel(x, y) != 0xFFF0F0F0u ? 1 : 0;
        }
    }
    QVERIFY2(inked_pixels > 1000, qPrintable(QString::number(inked_pixels)));
}

// A canvas keeps what it converted and measured for the last font; switching fonts back and
// forth must never hand out the other font's conversion or measurements.
void PlotCanvasTest::textAfterAFontChangeMatchesAFreshCanvas() {
    const std::array<std::pair<Font, std::string>, 6> runs{{{Font{"DejaVu Sans", 12}, "+"},
                                                            {Font{"DejaVu Serif", 30}, "+"},
                                                            {Font{"DejaVu Sans", 12}, "+"},
                                                            {Font{"DejaVu Sans", 20}, "Wg"},
                                                            {Font{"DejaVu Sans", 20}, "+"},
                                                            {Font{"DejaVu Sans", 12}, "Wg"}}};
    for (const bool scene : {false, true}) {
        QImage reused = white_image(400, 60);
        ImageCanvas canvas(reused);
        QImage fresh = white_image(400, 60);
        if (scene) {
            QVERIFY(canvas.begin_scene());
        }
        float x = 5;
        for (const auto& [font, text] : runs) {
            ImageCanvas once(fresh);
            const float w = canvas.text_width(text, font);
            const float h = canvas.text_height(text, font);
            QCOMPARE(w, once.text_width(text, font));
            QCOMPARE(h, once.text_height(text, font));
            const RectF box{x, 5, x + w, 5 + h};
            canvas.fill_text(box, text, font, kBlack, TextAlign::Center, TextAlign::Center, false,
                             1.0f);
            once.fill_text(box, text, font, kBlack, TextAlign::Center, TextAlign::Center, false,
                           1.0f);
            x += w + 10;
        }
        if (scene) {
            canvas.end_scene();
        }
        QCOMPARE(reused, fresh);
    }
    // The fonts differ in what they measure, so a stale conversion could not pass unseen.
    QImage image = white_image(10, 10);
    const ImageCanvas canvas(image);
    QVERIFY(canvas.text_width("+", runs[0].first) < canvas.text_width("+", runs[1].first));
    QVERIFY(canvas.text_width("+", runs[0].first) < canvas.text_width("+", runs[4].first));
    QVERIFY(canvas.text_width("+", runs[4].first) < canvas.text_width("Wg", runs[4].first));
}

void PlotCanvasTest::gridHasThinAndHeavyLines() {
    PlotGrid grid;
    grid.resize(100, 60);
    const QImage image = grid.grab().toImage();
    const QColor background = QColor::fromRgba(PlotGrid::kBackground);
    const QColor thin = QColor::fromRgba(PlotGrid::kMinorLine);
    const QColor heavy = QColor::fromRgba(PlotGrid::kMajorLine);
    QCOMPARE(QColor(image.pixel(2, 2)), background);
    QCOMPARE(QColor(image.pixel(5, 2)), thin);
    QCOMPARE(QColor(image.pixel(10, 12)), thin);
    QCOMPARE(QColor(image.pixel(2, 20)), thin);
    QCOMPARE(QColor(image.pixel(25, 2)), heavy);
    QCOMPARE(QColor(image.pixel(75, 33)), heavy);
    QCOMPARE(QColor(image.pixel(2, 50)), heavy);
    QCOMPARE(QColor(image.pixel(25, 20)), heavy);  // heavy on top where the two cross
    QVERIFY(qGray(heavy.rgb()) < qGray(thin.rgb()));
}

void PlotCanvasTest::drawingOutsideThePaintHandlerLastsUntilRepaint() {
    PlotGrid grid;
    grid.resize(100, 100);
    Tgrita grita(grid.canvas(), nullptr, false);
    grita.SetViewport(0, 0, 1, 1);
    grita.SetWindow(0, 0, 100, 100);
    int paints = 0;
    QObject::connect(&grid, &PlotGrid::plotPaint, [&] {
        ++paints;
        grita.Drawbar(10, 90, 30, 70, kBlack);  // pixels 10 … 30 across, 10 … 30 down
    });

    QImage image = grid.grab().toImage();
    QCOMPARE(paints, 1);
    QVERIFY(inked(image, 20, 20));

    grita.Drawbar(60, 40, 80, 20, kRed);  // pixels 60 … 80 across, 60 … 80 down
    image = grid.grab().toImage();
    QCOMPARE(paints, 1);  // showing the new drawing does not run the handler
    QVERIFY(inked(image, 20, 20));
    QCOMPARE(QColor(image.pixel(70, 70)), QColor(Qt::red));

    grid.Repaint();
    image = grid.grab().toImage();
    QCOMPARE(paints, 2);
    QVERIFY(inked(image, 20, 20));
    QVERIFY(QColor(image.pixel(70, 70)) != QColor(Qt::red));

    // After a resize the surface re-fits and the handler draws on a layer of the new size.
    grid.resize(200, 100);
    grita.resize(grid.canvas());
    image = grid.grab().toImage();
    QCOMPARE(image.width(), 200);
    QCOMPARE(paints, 3);
}

void PlotCanvasTest::labelFadesInAndOut() {
    FadingMessageLabel label;
    QCOMPARE(label.opacity(), 0.0);
    QCOMPARE(label.palette().color(QPalette::WindowText), QColor(Qt::red));
    QVERIFY(!label.wordWrap());
    label.start_fade();
    QCOMPARE(label.fade().duration(), 4000);
    // In-out cubic: 4t³ on the first half of each ramp.
    const std::array<std::pair<int, double>, 8> at{{{0, 0.0},
                                                    {500, 0.0625},
                                                    {1000, 0.5},
                                                    {2000, 1.0},
                                                    {2500, 0.9375},
                                                    {3000, 0.5},
                                                    {3500, 0.0625},
                                                    {4000, 0.0}}};
    for (const auto& [ms, expected] : at) {
        label.fade().setCurrentTime(ms);
        QVERIFY2(std::abs(label.opacity() - expected) < 1e-6,
                 qPrintable(QString("%1 ms: %2").arg(ms).arg(label.opacity())));
    }
}

void PlotCanvasTest::graphMessageReachesLabelAndLog() {
    QImage image = white_image(10, 10);
    ImageCanvas screen(image);
    FadingMessageLabel label;
    std::vector<std::pair<std::string, bool>> log;
    Tgrita grita(screen, &label, true,
                 [&log](std::string_view m, bool critical) { log.emplace_back(m, critical); });
    grita.GraphMessage("No convergence", kRed, true);
    QCOMPARE(label.text(), QString("No convergence"));
    QCOMPARE(label.fade().state(), QAbstractAnimation::Running);
    QCOMPARE(log.size(), std::size_t{1});
    QVERIFY(log[0] == std::make_pair(std::string("No convergence"), true));
    QVERIFY(label.width() >= label.fontMetrics().horizontalAdvance(label.text()));
}

void PlotCanvasTest::longNoticeWrapsWithinThePicture() {
    QWidget area;
    area.resize(200, 300);
    FadingMessageLabel label(&area);
    label.move(10, 8);
    label.set_text("short");
    QVERIFY(!label.wordWrap());
    const int line = label.height();
    const QString long_text = QStringLiteral(
        "Check of Baluster.ngc: Run time 0:19:00 (LinuxCNC planner model); WARNING: the program "
        "cuts 0.113 mm into the design at x 224.310");
    label.set_text(long_text.toStdString());
    QVERIFY(label.wordWrap());
    QCOMPARE(label.x() + label.width(), 200);
    QVERIFY(label.height() >= 2 * line);
    QCOMPARE(label.text(), long_text);
    // Short again: one line as wide as its text.
    label.set_text("short");
    QVERIFY(!label.wordWrap());
    QCOMPARE(label.height(), line);

    // A verdict that passes is dark on a pale panel; one that fails red on it; a notice after
    // it is red on the picture again.
    label.show_verdict("Check of Baluster.ngc: within the tolerance", true);
    QVERIFY(label.autoFillBackground());
    const QColor pass = label.palette().color(QPalette::WindowText);
    QVERIFY(pass.red() < 0x80 && pass.green() < 0x80);
    QVERIFY(label.palette().color(QPalette::Window).lightness() > 200);
    label.show_verdict("Check of Baluster.ngc: WARNING", false);
    QCOMPARE(label.palette().color(QPalette::WindowText).green(), 0);
    QVERIFY(label.palette().color(QPalette::WindowText).red() > 0x80);
    label.set_text("No convergence");
    QVERIFY(!label.autoFillBackground());
    QCOMPARE(label.palette().color(QPalette::WindowText), QColor(Qt::red));
}

QTEST_MAIN(PlotCanvasTest)
#include "plot_canvas_test.moc"
