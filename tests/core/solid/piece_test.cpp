#include "core/solid/piece.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "core/curve/spline_points.h"
#include "core/solid/job_pieces.h"
#include "core/solid/stations.h"
#include "mesh_checks.h"
#include "support/near.h"

namespace ostrivane {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kAxis = 100;

struct Curve {
    explicit Curve(std::initializer_list<std::pair<double, double>> points) {
        profile.set_data(4.5, 100, true);
        for (const auto& [x, y] : points)
            profile.save_point(x, y);
    }
    // The true radius at x, found on the curve (whose x grows with its parameter).
    double radius_at(double x) const {
        double lo = 0;
        double hi = profile.segments();
        for (int i = 0; i < 80; ++i) {
            const double mid = (lo + hi) / 2;
            (profile.evaluate(mid).x < x ? lo : hi) = mid;
        }
        return kAxis - profile.evaluate(lo).y;
    }
    // pi * integral of r^2 dx over the curve, from a polyline far finer than any mesh.
    double volume(const std::vector<DesignSlot>& slots = {}) const {
        double sum = 0;
        const int steps = profile.segments() * 4000;
        CurvePoint a = profile.evaluate(0);
        for (int i = 1; i <= steps; ++i) {
            const CurvePoint b =
                profile.evaluate(static_cast<double>(i) * profile.segments() / steps);
            const double xm = (a.x + b.x) / 2;
            double depth = 0;
            for (const DesignSlot& s : slots) {
                if (xm > s.left && xm < s.right)
                    depth = std::max(depth, s.depth);
            }
            const double ra = kAxis - a.y - depth;
            const double rb = kAxis - b.y - depth;
            sum += kPi * (b.x - a.x) * (ra * ra + ra * rb + rb * rb) / 3;
            a = b;
        }
        return sum;
    }
    SilentSink sink;
    TBetaSPLpoints profile{sink};
};

::testing::AssertionResult volume_within(double volume, double exact, double share) {
    return test::near(volume, exact, share * exact);
}

TEST(SquareCircleArea, IsTheCircleTheSquareOrTheSquareLessFourCaps) {
    const double b = 50;
    EXPECT_DOUBLE_EQ(square_circle_area(b, 30), kPi * 900);
    EXPECT_DOUBLE_EQ(square_circle_area(b, 50), kPi * 2500);
    EXPECT_DOUBLE_EQ(square_circle_area(b, 71), 10000);
    EXPECT_DOUBLE_EQ(square_circle_area(b, 0), 0);
    // Between: counted on a fine grid of the square.
    for (const double r : {52.0, 60.0, 70.0}) {
        const int n = 2000;
        double inside = 0;
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j < n; ++j) {
                const double y = -b + (i + 0.5) * 2 * b / n;
                const double z = -b + (j + 0.5) * 2 * b / n;
                inside += y * y + z * z <= r * r ? 1 : 0;
            }
        }
        EXPECT_TRUE(test::near(square_circle_area(b, r), inside / (n * n) * 4 * b * b, 2.0)) << r;
    }
}

TEST(TurnedPiece, IsASoundSolidOfTheExactVolumeWithinTheTolerance) {
    struct Case {
        const char* name;
        Curve curve;
    };
    Case cases[] = {
        {"vase", Curve{{0, 70}, {40, 52}, {120, 64}, {230, 48}, {330, 66}, {380, 75}}},
        {"ends on the axis", Curve{{0, 100}, {20, 60}, {60, 55}, {100, 100}}},
        {"a neck down to the axis", Curve{{0, 50}, {30, 100}, {60, 50}}},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Mesh mesh = mesh_of(designed_shape(c.curve.profile, kAxis, {}), kDefaultTolerance);
        EXPECT_TRUE(test::is_sound_solid(mesh));
        EXPECT_TRUE(volume_within(mesh_volume(mesh), c.curve.volume(), 0.002));
    }
}

TEST(TurnedPiece, KeepsWithinTheToleranceOfTheTrueSurface) {
    Curve c{{0, 70}, {40, 52}, {120, 64}, {230, 48}, {330, 66}, {380, 75}};
    for (const double tolerance : {0.05, 0.5}) {
        const Mesh mesh = mesh_of(designed_shape(c.profile, kAxis, {}, tolerance), tolerance);
        double worst = 0;
        for (const auto& t : mesh.triangles) {
            Vec3 m{};
            for (const std::uint32_t v : t) {
                m.x += mesh.vertices[v].x / 3;
                m.y += mesh.vertices[v].y / 3;
                m.z += mesh.vertices[v].z / 3;
            }
            const double rho = std::hypot(m.y, m.z);
            if (rho < 1 || m.x <= mesh.vertices[t[0]].x - 1e-9 || std::abs(m.x) < 1e-9)
                continue;  // the caps
            if (m.x < c.profile.evaluate(0).x + 0.5 || m.x > c.profile.evaluate(5).x - 0.5)
                continue;
            worst = std::max(worst, std::abs(c.radius_at(m.x) - rho));
        }
        EXPECT_LE(worst, tolerance) << tolerance;
        EXPECT_GT(worst, tolerance / 20) << "a surface far finer than asked for";
    }
}

TEST(TurnedPiece, CutsTheSlotsInWithStepsAtTheirEdges) {
    Curve c{{0, 60}, {100, 60}, {200, 60}};
    const std::vector<DesignSlot> slots{{50, 60, 5}, {120, 140, 12}};
    const Mesh mesh = mesh_of(designed_shape(c.profile, kAxis, slots), kDefaultTolerance);
    EXPECT_TRUE(test::is_sound_solid(mesh));
    EXPECT_TRUE(volume_within(mesh_volume(mesh), c.volume(slots), 0.002));
    EXPECT_LT(mesh_volume(mesh), c.volume() * 0.99);
}

TEST(TurnedPiece, ACylinderComesOutWithTheVolumeOfTheCylinder) {
    const std::vector<Station> s{{0, 40}, {100, 40}};
    const Mesh mesh = turned_piece(s, kDefaultTolerance);
    EXPECT_TRUE(test::is_sound_solid(mesh));
    EXPECT_TRUE(volume_within(mesh_volume(mesh), kPi * 1600 * 100, 0.001));
    EXPECT_TRUE(turned_piece({{0, -5}, {10, -5}}, kDefaultTolerance).triangles.empty());
}

// A check's envelope over 0 ... 200 mm every 0.1 mm: `height(x)` the saw top, the design
// `design(x)`.
template <typename Height, typename Design>
CheckReport report_of(Height height, Design design) {
    CheckReport r;
    for (int i = 0; i <= 2000; ++i) {
        const double x = i * 0.1;
        r.envelope.push_back({x, height(x), design(x)});
    }
    return r;
}

// The exact volume of the cut piece: the area of the square cut by the circle, along x,
// with the radius straight between the samples.
double cut_volume(const CheckReport& r, double beam) {
    double sum = 0;
    for (std::size_t i = 1; i < r.envelope.size(); ++i) {
        const EnvelopeSample& a = r.envelope[i - 1];
        const EnvelopeSample& b = r.envelope[i];
        const int n = 16;
        for (int k = 0; k < n; ++k) {
            const double f = (k + 0.5) / n;
            const double radius = kAxis - (a.envelope + f * (b.envelope - a.envelope));
            sum += square_circle_area(beam / 2, radius) * (b.x - a.x) / n;
        }
    }
    return sum;
}

TEST(CutPiece, IsTheBeamTurnedDownToTheEnvelopeWithItsExactVolume) {
    // Untouched beam at the ends, its corners taken off, then round, and a groove deeper than
    // the design (overcut) and a stretch left short (material left).
    const auto design = [](double x) { return 40 + 20 * std::sin(x / 30); };
    const auto height = [&](double x) {
        if (x < 20 || x > 180)
            return 0.0;
        if (x > 90 && x < 95)
            return design(x) + 1;
        if (x > 130 && x < 150)
            return design(x) - 2;
        return design(x);
    };
    const CheckReport r = report_of(height, design);
    for (const double beam : {100.0, 120.0, 160.0}) {
        SCOPED_TRACE(beam);
        const Mesh mesh = mesh_of(cut_shape(r, kAxis, beam), kDefaultTolerance);
        EXPECT_TRUE(test::is_sound_solid(mesh));
        EXPECT_TRUE(volume_within(mesh_volume(mesh), cut_volume(r, beam), 0.002));
        const auto count = [&mesh](std::uint32_t colour) {
            return std::count(mesh.colours.begin(), mesh.colours.end(), colour);
        };
        EXPECT_GT(count(kOvercutColour), 0);
        EXPECT_GT(count(kMaterialLeftColour), 0);
        EXPECT_GT(count(kWoodColour), 0);
    }
}

TEST(CutPiece, ALongSmoothEnvelopeNeedsFewStations) {
    const auto design = [](double) { return 45.0; };
    const CheckReport r = report_of(design, design);
    EXPECT_LT(cut_stations(r, kAxis, 0.025).size(), r.envelope.size() / 100);
    const Mesh design_mesh = mesh_of(design_shape_of_check(r, kAxis), kDefaultTolerance);
    EXPECT_TRUE(test::is_sound_solid(design_mesh));
    EXPECT_TRUE(volume_within(mesh_volume(design_mesh), kPi * 55 * 55 * 200, 0.001));
}

}  // namespace
}  // namespace ostrivane
