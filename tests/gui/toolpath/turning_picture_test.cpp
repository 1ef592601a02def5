// The turning engine's picture on real images: saws, the mirrored profile and the shading.
#include <QtTest>
#include <filesystem>
#include <memory>

#include "core/plot/tgrita.h"
#include "core/scene/profile_drawing.h"
#include "core/scene/turning_drawer.h"
#include "core/scene/workpiece_shading.h"
#include "core/toolpath/tgrad.h"
#include "render/image_canvas.h"

using namespace ostrivane;

namespace {

QImage clear_image(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(0u);  // fully transparent
    return image;
}

// A plot and a bitmap of 400 x 200 pixels showing x 0 … 100 and y 0 … 50 mm (4 pixels per mm,
// y = 0 at pixel row 200), the turning axis at y = 40.
struct Picture {
    Picture() {
        grita.SetViewport(0, 0, 1, 1);
        grita.SetWindow(0, 0, 100, 50);
        grita.SetViewport_BMP(400, 200, 0, 0, 1, 1);
        grita.SetWindow_BMP(0, 0, 100, 50, false);
        engine = std::make_unique<TGrad>(drawing, grita, std::filesystem::path("/nonexistent"));
        engine->set_data(4.5, 20, 3.2, 1, 1, 1, 3.2, 1, 40, 20, false, true, "", false, true, true);
    }
    QImage screen_image = clear_image(400, 200);
    QImage bitmap_image = clear_image(400, 200);
    ImageCanvas screen{screen_image};
    ImageCanvas bitmap{bitmap_image};
    Tgrita grita{screen, nullptr, false};
    Profile drawing{grita};
    std::unique_ptr<TGrad> engine;
    TurningDrawer drawer() { return TurningDrawer(grita, &bitmap, *engine); }
};

QColor at(const QImage& image, double x, double y) {
    return QColor::fromRgba(image.pixel(static_cast<int>(x * 4), static_cast<int>(200 - y * 4)));
}

}  // namespace

class TurningPictureTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void sawIsDrawnWithItsMirrorImage();
    void profileIsDrawnOnBothSidesOfTheAxis();
    void shadingFillsTheSilhouetteOnly();
};

void TurningPictureTest::sawIsDrawnWithItsMirrorImage() {
    Picture p;
    p.drawer().drawsaw(20, 10, false);  // blade x 20 … 24.5, up to y = 10; mirror from y = 70
    const QColor blue(0x00, 0x00, 0x8B);
    QCOMPARE(at(p.bitmap_image, 22, 5), blue);
    QCOMPARE(at(p.bitmap_image, 22, 0.5), blue);
    QCOMPARE(at(p.bitmap_image, 22, 12).alpha(), 0);  // above the saw top
    QCOMPARE(at(p.bitmap_image, 26, 5).alpha(), 0);   // right of the blade
    QCOMPARE(at(p.bitmap_image, 22, 49).alpha(), 0);  // the mirror image lies beyond y = 70
    p.drawer().drawsaw(60, 45, true);                 // mirrored to y = 35 … above
    const QColor green(0x90, 0xEE, 0x90);
    QCOMPARE(at(p.bitmap_image, 62, 20), green);
    QCOMPARE(at(p.bitmap_image, 62, 40), green);
    QCOMPARE(at(p.bitmap_image, 62, 48), green);
}

void TurningPictureTest::profileIsDrawnOnBothSidesOfTheAxis() {
    Picture p;
    for (double x : {10.0, 50.0, 90.0})
        p.engine->profile.save_point(x, 30);  // radius 10 around the axis at 40
    draw_spline(p.grita, p.engine->profile, 0xFF000000u, false, p.engine->job.draaias);
    auto inked_column = [&](double x) {
        std::vector<int> rows;
        for (int row = 0; row < 200; ++row) {
            if (qAlpha(p.screen_image.pixel(static_cast<int>(x * 4), row)) > 100)
                rows.push_back(row);
        }
        return rows;
    };
    const auto rows = inked_column(50);
    QVERIFY(!rows.empty());
    // Ink near y = 30 (row 80) and its mirror y = 50 (row 0 … 1, the window's top edge).
    QVERIFY(std::any_of(rows.begin(), rows.end(), [](int r) { return std::abs(r - 80) <= 1; }));
    QVERIFY(std::any_of(rows.begin(), rows.end(), [](int r) { return r <= 1; }));
    QVERIFY(std::none_of(rows.begin(), rows.end(), [](int r) { return r > 90; }));
}

void TurningPictureTest::shadingFillsTheSilhouetteOnly() {
    Picture p;
    for (double x : {10.0, 50.0, 90.0})
        p.engine->profile.save_point(x, 32);  // radius 8 around the axis at 40
    shade_workpiece(p.grita, &p.bitmap, *p.engine, "/nonexistent", nullptr);
    int inside = 0;
    int outside = 0;
    int lit = 0;  // lighter than the brown of the wood: a white or grey dot shows
    for (int row = 0; row < 200; ++row) {
        for (int col = 60; col < 340; ++col) {
            const QRgb px = p.bitmap_image.pixel(col, row);
            if (qAlpha(px) == 0)
                continue;
            const double y = (200 - row - 0.5) / 4.0;
            (std::abs(y - 40) <= 8 + 1 ? inside : outside) += 1;
            lit += qGray(px) > qGray(qRgb(0xA5, 0x2A, 0x2A)) + 20;
        }
    }
    QVERIFY2(inside > 1000, qPrintable(QString("only %1 pixels shaded").arg(inside)));
    QCOMPARE(outside, 0);
    QVERIFY(lit > 0);
    QVERIFY(!p.engine->shaderunning);
}

QTEST_MAIN(TurningPictureTest)
#include "turning_picture_test.moc"
