#include <cmath>
#include <functional>
#include <limits>

#include "plot_fixture.h"
#include "support/near.h"

namespace ostrivane {
namespace {

using test::PlotFixture;
using test::RecordingLabel;

struct WindowCase {
    const char* name;
    bool show_reel;
    int width, height;
    WindowRec given;
    WindowRec fitted;
};

// The guard widens the window about its centre along the axis that needs fewer units per pixel,
// and the window's top-left corner lands on pixel (0, 0).
TEST(TgritaWindow, AspectGuardWidensAboutTheCentre) {
    const WindowCase cases[] = {
        {"wide control widens x", true, 400, 200, {0, 0, 100, 100}, {-50, 0, 150, 100}},
        {"guard off keeps the window", false, 400, 200, {0, 0, 100, 100}, {0, 0, 100, 100}},
        {"tall control widens y", true, 200, 400, {0, 0, 100, 100}, {0, -50, 100, 150}},
        {"square stays", true, 400, 400, {0, 0, 100, 100}, {0, 0, 100, 100}},
        {"narrow window widens x", true, 400, 400, {10, 0, 30, 80}, {-20, 0, 60, 80}},
    };
    for (const WindowCase& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingCanvas screen(c.width, c.height);
        Tgrita grita(screen, nullptr, c.show_reel);
        grita.SetViewport(0, 0, 1, 1);
        grita.SetWindow(c.given.xmi, c.given.ymi, c.given.xma, c.given.yma);
        const WindowRec& w = grita.WindowBounds;
        EXPECT_EQ(w.xmi, c.fitted.xmi);
        EXPECT_EQ(w.ymi, c.fitted.ymi);
        EXPECT_EQ(w.xma, c.fitted.xma);
        EXPECT_EQ(w.yma, c.fitted.yma);

        float px = 0, py = 0;
        grita.ScreenCoords(w.xmi, w.yma, px, py);
        EXPECT_EQ(px, 0.0f);
        EXPECT_EQ(py, 0.0f);
        grita.ScreenCoords(w.xma, w.ymi, px, py);
        EXPECT_EQ(px, static_cast<float>(c.width));
        EXPECT_EQ(py, static_cast<float>(c.height));
    }
}

TEST(TgritaWindow, GuardCentreIsTakenInSinglePrecision) {
    RecordingCanvas screen(400, 200);
    Tgrita grita(screen);
    grita.SetViewport(0, 0, 1, 1);
    grita.SetWindow(0.1, 0, 0.3, 0.2);  // y needs more units per pixel: x is widened
    const double centre = static_cast<float>((0.1 + 0.3) / 2);
    ASSERT_NE(centre, (0.1 + 0.3) / 2);
    const double half = std::fabs(0.2 / 200) * 400 / 2;
    EXPECT_EQ(grita.WindowBounds.xma, centre + half);
    EXPECT_EQ(grita.WindowBounds.xmi, centre - half);
    EXPECT_EQ(grita.WindowBounds.ymi, 0);
    EXPECT_EQ(grita.WindowBounds.yma, 0.2);
}

TEST(TgritaWindow, PartialViewportSizesTheMappedArea) {
    RecordingCanvas screen(400, 200);
    Tgrita grita(screen, nullptr, false);
    grita.SetViewport(0, 0, 0.5, 0.5);
    grita.SetWindow(0, 0, 10, 10);
    EXPECT_EQ(grita.grbounds.AX, 20);
    EXPECT_EQ(grita.grbounds.AY, -10);
    EXPECT_EQ(grita.grbounds.BY, 100);
}

struct FaultCase {
    const char* name;
    std::function<void(Tgrita&)> act;
    std::vector<const char*> messages;
};

// Every bad viewport or window is one critical log line, and the call carries on.
TEST(TgritaErrors, BadSpecificationsAreLoggedAsCritical) {
    const FaultCase cases[] = {
        {"reversed viewport",
         [](Tgrita& g) { g.SetViewport(0.5, 0, 0.2, 1); },
         {"illegal viewport specification"}},
        {"viewport past the right edge",
         [](Tgrita& g) { g.SetViewport(0, 0, 1.5, 1); },
         {"viewport exceeds plotgrid boundaries"}},
        {"viewport above the top",
         [](Tgrita& g) { g.SetViewport(0, -0.1, 1, 1); },
         {"viewport exceeds plotgrid boundaries"}},
        {"window without viewport",
         [](Tgrita& g) { g.SetWindow(0, 0, 1, 1); },
         {"missing viewport specification", "illegal window specification"}},
        {"reversed window",
         [](Tgrita& g) {
             g.SetViewport(0, 0, 1, 1);
             g.SetWindow(1, 0, 0, 1);
         },
         {"illegal window specification"}},
        {"empty window",
         [](Tgrita& g) {
             g.SetViewport(0, 0, 1, 1);
             g.SetWindow(0, 3, 1, 3);
         },
         {"illegal window specification"}},
        {"bitmap viewport past the bottom",
         [](Tgrita& g) { g.SetViewport_BMP(100, 50, 0, 0, 1, 1.5); },
         {"viewport BMP exceeds plotgrid boundaries"}},
        {"reversed bitmap viewport",
         [](Tgrita& g) { g.SetViewport_BMP(100, 50, 0, 1, 1, 0); },
         {"illegal viewport specification"}},
        {"bitmap window without viewport",
         [](Tgrita& g) { g.SetWindow_BMP(0, 0, 1, 1, true); },
         {"missing BMP viewport specification", "illegal BMP window specification"}},
        {"reversed bitmap window",
         [](Tgrita& g) {
             g.SetViewport_BMP(100, 50, 0, 0, 1, 1);
             g.SetWindow_BMP(0, 1, 1, 0, false);
         },
         {"illegal BMP window specification"}},
        {"shrinking below the viewport",
         [](Tgrita& g) {
             g.SetViewport(0, 0, 1, 1);
             g.SetWindow(0, 0, 10, 10);
             RecordingCanvas smaller(400, 100);
             g.SetViewport(0, 0, 1, 1.5);
             g.resize(smaller);
         },
         {"viewport exceeds plotgrid boundaries", "viewport exceeds plotgrid boundaries"}},
        {"WritePixel",
         [](Tgrita& g) { g.WritePixel(1, 2, 0xFF000000u); },
         {"WritePixel not implemented"}},
        {"a proper set-up",
         [](Tgrita& g) {
             g.SetViewport(0, 0, 1, 1);
             g.SetWindow(0, 0, 10, 10);
             g.SetViewport_BMP(100, 50, 0, 0, 1, 1);
             g.SetWindow_BMP(0, 0, 10, 10, true);
         },
         {}},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingCanvas screen(400, 200);
        RecordingLabel label;
        test::LogLines log;
        Tgrita grita(screen, &label, true,
                     [&log](std::string_view m, bool critical) { log.emplace_back(m, critical); });
        c.act(grita);
        test::LogLines expected;
        for (const char* m : c.messages) {
            expected.emplace_back(m, true);
        }
        EXPECT_EQ(log, expected);
        EXPECT_TRUE(label.text.empty()) << "faults of the surface never reach the label";
        EXPECT_EQ(label.fades, 0);
    }
}

// With nothing to divide by, the last usable mapping stays instead of infinities.
TEST_F(PlotFixture, EmptyWindowKeepsTheLastMapping) {
    grita.SetWindow(0, 0, 1, 1);  // no viewport yet
    EXPECT_TRUE(std::isfinite(grita.grbounds.AX));
    EXPECT_TRUE(std::isfinite(grita.grbounds.AY));

    grita.SetViewport(0, 0, 1, 1);
    grita.SetWindow(0, 0, 100, 100);
    const GrafBounds before = grita.grbounds;
    grita.SetWindow(5, 5, 5, 5);
    EXPECT_EQ(grita.grbounds.AX, before.AX);
    EXPECT_EQ(grita.grbounds.BX, before.BX);
    EXPECT_EQ(grita.WindowBounds.xmi, -50);
    EXPECT_EQ(grita.WindowBounds.xma, 150);
}

// Each resize re-fits the last corrected window, so the visible range can only grow.
TEST_F(PlotFixture, ResizeRefitsTheCorrectedWindow) {
    grita.SetViewport(0, 0, 1, 1);
    grita.SetWindow(0, 0, 100, 100);  // x -50 … 150 on 400 x 200

    screen.set_size(200, 200);
    grita.resize(screen);
    EXPECT_EQ(grita.grbounds.WidthScr, 200);
    EXPECT_EQ(grita.grbounds.Right, 200);
    EXPECT_EQ(grita.WindowBounds.ymi, -50);
    EXPECT_EQ(grita.WindowBounds.yma, 150);

    screen.set_size(400, 200);
    grita.resize(screen);
    EXPECT_EQ(grita.WindowBounds.xmi, -150);
    EXPECT_EQ(grita.WindowBounds.xma, 250);
    EXPECT_EQ(grita.WindowBounds.ymi, -50);
    EXPECT_EQ(grita.WindowBounds.yma, 150);
    EXPECT_TRUE(log.empty());
}

TEST_F(PlotFixture, BitmapMappingIsIndependentOfTheScreen) {
    grita.SetViewport(0, 0, 1, 1);
    grita.SetWindow(0, 0, 100, 100);
    const GrafBounds screen_before = grita.grbounds;

    grita.SetViewport_BMP(400, 200, 0, 0, 1, 1);
    grita.SetWindow_BMP(0, 0, 100, 100, false);  // no correction even with the guard on
    EXPECT_EQ(grita.grbounds_BMP.AX, 4);
    EXPECT_EQ(grita.grbounds_BMP.AY, -2);
    EXPECT_EQ(grita.grbounds_BMP.BY, 200);

    grita.SetWindow_BMP(0, 0, 100, 100, true);
    EXPECT_EQ(grita.grbounds_BMP.AX, 2);
    EXPECT_EQ(grita.grbounds_BMP.AY, -2);
    EXPECT_EQ(grita.grbounds_BMP.BX, 100);

    // The bitmap keeps no window: resize_BMP re-fits the screen's window to the bitmap.
    RecordingCanvas bitmap(100, 100);
    grita.resize_BMP(bitmap);
    EXPECT_EQ(grita.grbounds_BMP.AX, 0.5);
    EXPECT_EQ(grita.grbounds_BMP.AY, -0.5);
    EXPECT_EQ(grita.grbounds_BMP.BX, 25);
    EXPECT_EQ(grita.grbounds_BMP.BY, 75);

    EXPECT_EQ(grita.WindowBounds.xmi, -50);
    EXPECT_EQ(grita.WindowBounds.xma, 150);
    EXPECT_EQ(grita.WindowBounds.yma, 100);
    EXPECT_EQ(grita.grbounds.AX, screen_before.AX);
    EXPECT_EQ(grita.grbounds.BY, screen_before.BY);
    EXPECT_TRUE(log.empty());
}

TEST_F(PlotFixture, GuardOffLeavesTheBitmapWindowAlone) {
    RecordingCanvas other(400, 200);
    Tgrita plain(other, nullptr, false);
    plain.SetViewport_BMP(400, 200, 0, 0, 1, 1);
    plain.SetWindow_BMP(0, 0, 100, 100, true);
    EXPECT_EQ(plain.grbounds_BMP.AX, 4);
    EXPECT_EQ(plain.grbounds_BMP.AY, -2);
}

TEST_F(PlotFixture, ConversionsRoundTripWithinSinglePrecision) {
    grita.SetViewport(0, 0, 1, 1);
    grita.SetWindow(-13.7, 2.2, 812.9, 301.45);
    const PointF pixels[] = {{0, 0}, {123.5f, 77.25f}, {399, 199}, {-20, 250}, {0.1f, 0.3f}};
    for (const PointF p : pixels) {
        float wx = 0, wy = 0, px = 0, py = 0;
        grita.Coords(p.x, p.y, wx, wy);
        grita.ScreenCoords(wx, wy, px, py);
        EXPECT_TRUE(test::near(px, p.x, 1e-3)) << p.x << "," << p.y;
        EXPECT_TRUE(test::near(py, p.y, 1e-3)) << p.x << "," << p.y;
    }
    // World positions from the mouse carry single precision.
    float wx = 0, wy = 0;
    grita.Coords(123.5, 77.25, wx, wy);
    const double exact = (123.5 - grita.grbounds.BX) / grita.grbounds.AX;
    EXPECT_EQ(wx, static_cast<float>(exact));
}

TEST_F(PlotFixture, BoundsPixelLengthAndWindowCheck) {
    grita.SetViewport(0, 0, 1, 1);
    grita.SetWindow(0, 0, 100, 100);  // x -50 … 150
    double mi = 0, ma = 0;
    grita.GetboundsX(mi, ma);
    EXPECT_EQ(mi, -50);
    EXPECT_EQ(ma, 150);
    grita.GetboundsY(mi, ma);
    EXPECT_EQ(mi, 0);
    EXPECT_EQ(ma, 100);
    double pix_x = 0, pix_y = 0;
    grita.PixelLength(pix_x, pix_y);
    EXPECT_EQ(pix_x, 0.5);
    EXPECT_EQ(pix_y, 0.5);

    struct {
        double x, y, expect_x, expect_y;
    } const points[] = {
        {-50, 0, -50, 0},       // corner on the edge is inside
        {150, 100, 150, 100},   // so is the opposite one
        {20, 30, 20, 30},       // inside
        {150.001, 30, 50, 50},  // just right of the window: to the centre
        {20, -0.001, 50, 50},   // just below
        {-1000, 1000, 50, 50},  // far away
    };
    for (const auto& p : points) {
        double x = p.x, y = p.y;
        grita.CheckIfInWindow(x, y);
        EXPECT_EQ(x, p.expect_x) << p.x << "," << p.y;
        EXPECT_EQ(y, p.expect_y) << p.x << "," << p.y;
    }
}

TEST_F(PlotFixture, StoreViewHandsOutTenSlots) {
    grita.SetViewport(0, 0, 1, 1);
    grita.SetWindow(0, 0, 100, 100);
    for (int expected = 1; expected <= 10; ++expected) {
        EXPECT_EQ(grita.StoreView(0), expected);
    }
    EXPECT_EQ(grita.StoreView(0), 0);
    EXPECT_EQ(grita.LastViewID, 11);
    EXPECT_EQ(grita.StoreView(11), 0);
    EXPECT_EQ(grita.StoreView(-1), 0);
    EXPECT_EQ(grita.StoreView(3), 3);
    EXPECT_FALSE(grita.UseView(0));
    EXPECT_FALSE(grita.UseView(11));
    EXPECT_FALSE(grita.UseView(-2));
}

// A view brings back the mapping only: the window stays that of the last SetWindow.
TEST_F(PlotFixture, UseViewRestoresTheMappingNotTheWindow) {
    grita.SetViewport(0, 0, 1, 1);
    grita.SetWindow(0, 0, 100, 100);
    grita.BoxColor = 0xFF00FF00u;
    ASSERT_EQ(grita.StoreView(4), 4);
    const GrafBounds stored = grita.grbounds;
    EXPECT_EQ(grita.ViewRecArr[3].box_color, 0xFF00FF00u);
    EXPECT_TRUE(grita.ViewRecArr[3].box_shown);

    EXPECT_FALSE(grita.UseView(5));  // free slot: nothing changes
    grita.SetWindow(10, 10, 20, 20);
    const WindowRec zoomed = grita.WindowBounds;
    EXPECT_FALSE(grita.UseView(5));
    EXPECT_NE(grita.grbounds.AX, stored.AX);

    ASSERT_TRUE(grita.UseView(4));
    EXPECT_EQ(grita.grbounds.AX, stored.AX);
    EXPECT_EQ(grita.grbounds.BX, stored.BX);
    EXPECT_EQ(grita.grbounds.AY, stored.AY);
    EXPECT_EQ(grita.grbounds.BY, stored.BY);
    EXPECT_EQ(grita.WindowBounds.xmi, zoomed.xmi);
    EXPECT_EQ(grita.WindowBounds.xma, zoomed.xma);
}

TEST(TgritaExpo, GuardsTheExponent) {
    struct {
        double x, expected;
    } const cases[] = {
        {0, 1},      {1, std::exp(1.0)},       {54.9, std::exp(54.9)}, {55, 1e38},
        {700, 1e38}, {-54.9, std::exp(-54.9)}, {-55, 1e-38},           {-800, 1e-38},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Tgrita::grit_expo(c.x), c.expected) << c.x;
    }
}

}  // namespace
}  // namespace ostrivane
