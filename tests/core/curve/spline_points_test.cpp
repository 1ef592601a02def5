#include "core/curve/spline_points.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "curve_fixture.h"
#include "support/near.h"

namespace ostrivane {
namespace {

using test::Message;

class SplinePointsTest : public ::testing::Test {
  protected:
    std::vector<double> xs() const {
        std::vector<double> out;
        for (int k = 0; k < set.Nopoints; ++k)
            out.push_back(set.X.Tomatch[k]);
        return out;
    }
    void add(std::initializer_list<std::pair<double, double>> pts) {
        for (const auto& [x, y] : pts)
            set.save_point(x, y);
    }
    bool vertices_are_points() const {
        for (int k = 0; k < set.Nopoints; ++k) {
            if (set.X.V[k] != set.X.Tomatch[k] || set.Y.V[k] != set.Y.Tomatch[k])
                return false;
        }
        return true;
    }

    test::PlotFixture plot;
    TBetaSPLpoints set{plot.grita};
};

TEST_F(SplinePointsTest, StartsEmptyWithItsDefaults) {
    EXPECT_EQ(set.Nopoints, 0);
    EXPECT_FALSE(set.closed);
    EXPECT_EQ(set.NumIntervals, 20);
    EXPECT_EQ(set.Nostep, 1);
    EXPECT_EQ(set.mill_width, 1.0);
    EXPECT_EQ(set.match_number, 0.01);
}

TEST_F(SplinePointsTest, SetDataRoundsTheResolutionHalfToEven) {
    set.set_data(3.2, 2.5, true);
    EXPECT_EQ(set.Nostep, 2);
    EXPECT_EQ(set.steps_mm_x, 2.0);
    EXPECT_EQ(set.mill_width, 3.2);
    EXPECT_TRUE(set.matchThem);
    set.set_data(1, 10.5000001, false);
    EXPECT_EQ(set.steps_mm_x, 11.0);
}

TEST_F(SplinePointsTest, PointsAreKeptInAscendingXAndDuplicatesRefused) {
    add({{5, 50}, {1, 10}, {3, 30}});
    EXPECT_EQ(xs(), (std::vector<double>{1, 3, 5}));
    EXPECT_EQ(set.Y.Tomatch[1], 30);
    EXPECT_TRUE(plot.messages.empty());
    set.save_point(3, 99);
    EXPECT_EQ(xs(), (std::vector<double>{1, 3, 5}));
    EXPECT_EQ(set.Y.Tomatch[1], 30);
    EXPECT_EQ(plot.messages, (std::vector<Message>{{"Double points are not allowed !!!", false}}));
    EXPECT_EQ(set.XminX, 1.01);
    EXPECT_EQ(set.XmaxX, 5 - 0.01);
    EXPECT_TRUE(vertices_are_points());
}

TEST_F(SplinePointsTest, InsertedPointGetsUnitShapeValuesAndNeighboursKeepTheirs) {
    add({{0, 0}, {10, 0}});
    set.alpha1[0] = 2;
    set.alpha2[0] = 3;
    set.alpha1[1] = 4;
    set.alpha2[1] = 5;
    set.selected[1] = true;
    set.save_point(5, 1);
    EXPECT_EQ(set.alpha1[0], 2);
    EXPECT_EQ(set.alpha1[1], 1);
    EXPECT_EQ(set.alpha2[1], 1);
    EXPECT_EQ(set.alpha1[2], 4);
    EXPECT_EQ(set.alpha2[2], 5);
    // Selection marks belong to slots, not points.
    EXPECT_TRUE(set.selected[1]);
    EXPECT_FALSE(set.selected[2]);
    // Boundary copies follow the new last point.
    EXPECT_EQ(set.alpha1[3], 4);
    EXPECT_EQ(set.X.V[3], 10);
}

TEST_F(SplinePointsTest, AFullSetRefusesAnotherPoint) {
    test::fill_points(set, BetaSpline::kMaxPoints - 1, 10);
    set.save_point(0, 0);  // the last free slot
    EXPECT_TRUE(plot.messages.empty());
    set.save_point(-5, 0);
    EXPECT_EQ(set.Nopoints, 9999);
    EXPECT_EQ(set.X.Tomatch[0], 0);
    EXPECT_EQ(plot.texts(),
              (std::vector<std::string>{"Maximum number of spline points exceeded !!!"}));
}

TEST_F(SplinePointsTest, SeekNearestReachesBelowAThousandMillimetresAndPrefersTheLowerNumber) {
    add({{0, 0}});
    EXPECT_EQ(set.SeekNearest(999, 0), 1);
    EXPECT_EQ(set.SeekNearest(1000, 0), 0);
    EXPECT_EQ(set.SeekNearest(0, -999.9), 1);
    add({{10, 0}});
    EXPECT_EQ(set.SeekNearest(5, 3), 1);
    EXPECT_EQ(set.SeekNearest(5.0001, 3), 2);
    set.SeekMove(9, 1);
    EXPECT_EQ(set.Movable, 2);
}

TEST_F(SplinePointsTest, MovePointKeepsTheXOrder) {
    add({{0, 0}, {10, 5}, {20, 0}});
    struct Case {
        int movable;
        double x, y;
        bool moves;
    };
    const Case cases[] = {
        {1, 12, 1, false},  // past the second point
        {1, 10, 1, false},  // onto the second point
        {1, -50, 1, true},  // the first point has no lower limit
        {3, 1e6, 2, true},  // nor the last an upper one
        {2, 1e6, 2, false}, {2, -50, 2, false},
        {2, 19.5, 7, true}, {0, 5, 5, false},  // nothing picked
        {4, 5, 5, false},                      // not a point of the set
    };
    for (const Case& c : cases) {
        const std::vector<double> before_x = xs();
        set.Movable = c.movable;
        set.movePoint(c.x, c.y);
        if (c.moves) {
            EXPECT_EQ(set.X.Tomatch[c.movable - 1], c.x);
            EXPECT_EQ(set.Y.Tomatch[c.movable - 1], c.y);
        } else {
            EXPECT_EQ(xs(), before_x) << "movable " << c.movable << " to " << c.x;
        }
        EXPECT_TRUE(vertices_are_points());
    }
    EXPECT_EQ(set.XmaxX, 1e6 - 0.01);
    EXPECT_EQ(set.XminX, -50 + 0.01);
}

TEST_F(SplinePointsTest, MoveThatCannotBeMatchedIsUndone) {
    add({{0, 0}, {10, 5}, {20, 0}, {30, 5}});
    set.set_data(1, 1, true);
    set.match_number = 0;  // no curve can meet this, so every matching fails
    plot.messages.clear();
    set.Movable = 2;
    set.movePoint(12, 40);
    EXPECT_EQ(set.X.Tomatch[1], 10);
    EXPECT_EQ(set.Y.Tomatch[1], 5);
    EXPECT_EQ(set.X.V[1], 10);  // fell back to the unmatched points again
    EXPECT_EQ(plot.texts(), (std::vector<std::string>{"Matching is non-convergent",
                                                      "Matching is non-convergent"}));
}

TEST_F(SplinePointsTest, ChangeWeightEditsTheNearestPoint) {
    add({{0, 0}, {10, 5}, {20, 0}});
    EXPECT_EQ(set.weight_slot(11, 4), 1);
    set.changeWeight(set.weight_slot(11, 4), 3.5, 0.5);
    EXPECT_EQ(set.alpha1[1], 3.5);
    EXPECT_EQ(set.alpha2[1], 0.5);
}

TEST_F(SplinePointsTest, ChangeWeightOutOfReachLeavesTheCurveAsItWas) {
    add({{0, 0}, {10, 5}, {20, 0}});
    EXPECT_EQ(set.weight_slot(5000, 0), -1);
    set.changeWeight(set.weight_slot(5000, 0), 7, 7);
    for (int k = -1; k <= 3; ++k)
        EXPECT_EQ(set.alpha1[k], 1.0) << k;
}

TEST_F(SplinePointsTest, ChangeWeightThatCannotBeMatchedRestoresTheShapeValues) {
    add({{0, 0}, {10, 5}, {20, 0}});
    set.set_data(1, 1, true);
    set.match_number = 0;
    set.changeWeight(set.weight_slot(10, 5), 4, 6);
    EXPECT_EQ(set.alpha1[1], 1.0);
    EXPECT_EQ(set.alpha2[1], 1.0);
}

TEST_F(SplinePointsTest, DestroyPointsRemovesWhatLiesStrictlyInsideTheBox) {
    add({{0, 0}, {10, 10}, {20, 20}, {30, 10}, {40, 0}});
    set.selected[4] = true;
    set.alpha1[4] = 2;
    set.destroy_points(10, 0, 10, 100);  // zero width
    set.destroy_points(0, 5, 50, 5);     // zero height
    EXPECT_EQ(set.Nopoints, 5);
    set.destroy_points(10, 5, 30, 100);  // x = 10 and 30 lie on the edge
    EXPECT_EQ(xs(), (std::vector<double>{0, 10, 30, 40}));
    set.destroy_points(5, 5, 35, 50);
    EXPECT_EQ(xs(), (std::vector<double>{0, 40}));
    EXPECT_TRUE(set.selected[1]);  // the mark of x = 40 moved down with it
    EXPECT_EQ(set.alpha1[1], 2.0);
    EXPECT_EQ(set.alpha1[0], 1.0);
    EXPECT_EQ(set.XmaxX, 40 - 0.01);
}

TEST_F(SplinePointsTest, DestroyPointRemovesOneNumberedPoint) {
    add({{0, 0}, {10, 10}, {20, 20}});
    set.selected[2] = true;
    set.alpha2[2] = 9;
    set.destroy_point(2);
    EXPECT_EQ(xs(), (std::vector<double>{0, 20}));
    EXPECT_TRUE(set.selected[1]);
    EXPECT_EQ(set.alpha2[1], 9);
    EXPECT_EQ(set.alpha2[2], 9);  // boundary copy of the new last point
    set.destroy_point(0);
    set.destroy_point(3);
    EXPECT_EQ(set.Nopoints, 2);
}

TEST_F(SplinePointsTest, IncIntervalNeverDropsBelowTwenty) {
    struct Case {
        int increm;
        int expected;
        bool message;
    };
    const Case cases[] = {{-20, 20, false}, {20, 40, true},  {0, 40, false},  {20, 60, true},
                          {-20, 40, true},  {-20, 20, true}, {-20, 20, false}};
    for (const Case& c : cases) {
        plot.messages.clear();
        set.inc_interval(c.increm, -1.5, 2.5);
        EXPECT_EQ(set.NumIntervals, c.expected);
        if (c.message) {
            EXPECT_EQ(plot.texts(),
                      (std::vector<std::string>{
                          "Spline is drawn with number of line segments between points: " +
                          std::to_string(c.expected)}));
        } else {
            EXPECT_TRUE(plot.messages.empty());
        }
        EXPECT_EQ(set.left_x, -1.5);
        EXPECT_EQ(set.right_x, 2.5);
    }
}

// Random edits with a fixed seed: without matching the vertices always equal the points, and
// with matching every curve that converged passes through its points.
TEST_F(SplinePointsTest, EditsKeepTheCurveInvariants) {
    std::mt19937 random(20261210);
    std::uniform_real_distribution<double> coord(0, 200);
    std::uniform_real_distribution<double> shape(0.5, 3);
    std::uniform_int_distribution<int> pick(0, 5);
    int matched_checks = 0;
    for (bool matching : {false, true}) {
        set.destroy_points(-1, -1, 1000, 1000);
        set.set_data(1, 10, matching);
        for (int step = 0; step < 300; ++step) {
            const double x = coord(random);
            const double y = coord(random);
            switch (pick(random)) {
                case 0:
                case 1:
                    set.save_point(x, y);
                    break;
                case 2:
                    if (set.Nopoints > 3)
                        set.destroy_point(1 + static_cast<int>(x) % set.Nopoints);
                    break;
                case 3:
                    set.SeekMove(x, y);
                    set.movePoint(x + 3, y);
                    break;
                case 4: {
                    const double tension = shape(random);
                    const double bias = shape(random);
                    set.changeWeight(set.weight_slot(x, y), tension, bias);
                } break;
                default:
                    set.destroy_points(x, y, x + 10, y + 10);
                    break;
            }
            for (int k = 1; k < set.Nopoints; ++k)
                ASSERT_LT(set.X.Tomatch[k - 1], set.X.Tomatch[k]);
            if (!matching) {
                ASSERT_TRUE(vertices_are_points()) << "step " << step;
            } else if (set.Nopoints >= 2 && !vertices_are_points()) {
                // Converged: in each coordinate the mean error at the points is within the
                // tolerance.
                double sum_x = 0, sum_y = 0;
                for (int t = 0; t <= set.segments(); ++t) {
                    double cx = 0, cy = 0;
                    set.evaluate(t, cx, cy);
                    sum_x += std::fabs(cx - set.X.Tomatch[t]);
                    sum_y += std::fabs(cy - set.Y.Tomatch[t]);
                }
                ASSERT_LT(sum_x / (set.segments() + 1), set.match_number) << "step " << step;
                ASSERT_LT(sum_y / (set.segments() + 1), set.match_number) << "step " << step;
                ++matched_checks;
            }
        }
    }
    EXPECT_GT(matched_checks, 100);  // the matched half really checked converged curves
}

}  // namespace
}  // namespace ostrivane
