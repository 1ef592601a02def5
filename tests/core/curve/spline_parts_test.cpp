#include <gtest/gtest.h>

#include <vector>

#include "core/curve/spline_points.h"
#include "curve_fixture.h"

namespace ostrivane {
namespace {

using Part = std::pair<double, double>;

class SplinePartsTest : public ::testing::Test {
  protected:
    std::vector<Part> parts() const {
        std::vector<Part> out;
        for (int p = 1; p <= set.NoParts; ++p)
            out.emplace_back(set.fromX[p], set.ToX[p]);
        return out;
    }

    test::PlotFixture plot;
    TBetaSPLpoints set{plot.grita};
};

TEST_F(SplinePartsTest, PartsMustHoldTheSawAndNeverOverlap) {
    set.set_data(10, 1, false);
    const std::string overlap = "Double points for fine milling are not allowed !!!";
    struct Case {
        Part part;
        std::string message;  // empty: accepted
    };
    const Case cases[] = {
        {{0, 10}, ""},
        {{20, 29}, "saw width does not fit inside fine milling interval"},
        {{10, 20}, ""},  // touching the part before
        {{5, 15}, overlap},
        {{0, 5}, "Double points are not allowed !!!"},
        {{-10, 0}, ""},       // touching the part after
        {{-20, 1}, overlap},  // reaches into the part after
        {{30, 35}, "saw width does not fit inside fine milling interval"},
        {{19, 25}, overlap},  // overlap is reported before the length
        {{50, 60}, ""},
        {{25, 45}, ""},  // between two parts: takes the middle number
    };
    for (const Case& c : cases) {
        plot.messages.clear();
        set.save_part(c.part.first, c.part.second);
        if (c.message.empty()) {
            EXPECT_TRUE(plot.messages.empty()) << c.part.first;
        } else {
            EXPECT_EQ(plot.texts(), std::vector<std::string>{c.message}) << c.part.first;
        }
    }
    EXPECT_EQ(parts(), (std::vector<Part>{{-10, 0}, {0, 10}, {10, 20}, {25, 45}, {50, 60}}));
}

TEST_F(SplinePartsTest, SelectionMarksStayWithTheNumbersOnInsertAndMoveOnRemoval) {
    set.save_part(0, 10);
    set.save_part(20, 30);
    set.save_part(40, 50);
    set.parts_selected[2] = true;
    set.save_part(11, 15);  // becomes number 2; the mark stays on number 2
    EXPECT_EQ(parts()[1], (Part{11, 15}));
    EXPECT_TRUE(set.parts_selected[2]);
    set.parts_selected[2] = false;
    set.parts_selected[3] = true;  // (20, 30)
    set.destroy_part_part(1);
    EXPECT_EQ(parts(), (std::vector<Part>{{11, 15}, {20, 30}, {40, 50}}));
    EXPECT_TRUE(set.parts_selected[2]);
    EXPECT_FALSE(set.parts_selected[3]);
    set.destroy_part_part(0);
    set.destroy_part_part(4);
    EXPECT_EQ(set.NoParts, 3);
    set.deselect_parts();
    for (int p = -1; p <= 10000; p += 1)
        ASSERT_FALSE(set.parts_selected[p]);
}

TEST_F(SplinePartsTest, DestroyPartRemovesPartsWithAnEndStrictlyInside) {
    struct Case {
        double min_x, max_x;
        std::vector<Part> left;
    };
    const Case cases[] = {
        {12, 18, {{0, 10}, {10, 20}, {30, 40}}},  // encloses no end
        {5, 15, {{30, 40}}},
        {10, 30, {{0, 10}, {30, 40}}},  // ends on the edges do not count
        {15, 15, {{0, 10}, {10, 20}, {30, 40}}},
        {-100, 100, {}},
    };
    for (const Case& c : cases) {
        set.destroy_part(-1e9, 1e9);
        set.save_part(0, 10);
        set.save_part(10, 20);
        set.save_part(30, 40);
        set.destroy_part(c.min_x, c.max_x);
        EXPECT_EQ(parts(), c.left) << c.min_x << " " << c.max_x;
    }
}

TEST_F(SplinePartsTest, PartCapacityIsGuarded) {
    for (int p = 1; p < TBetaSPLpoints::kMaxParts; ++p) {
        set.fromX[p] = p * 2.0 - 2;
        set.ToX[p] = p * 2.0 - 1;
    }
    set.NoParts = TBetaSPLpoints::kMaxParts - 1;
    set.save_part(1e6, 1e6 + 1);  // the last free number
    EXPECT_EQ(set.ToX[10000], 1e6 + 1);
    EXPECT_TRUE(plot.messages.empty());
    set.save_part(-10, -5);
    EXPECT_EQ(set.NoParts, 10000);
    EXPECT_EQ(set.fromX[1], 0);
    EXPECT_EQ(plot.texts(),
              std::vector<std::string>{"Maximum number of fine milling parts exceeded !!!"});
}

}  // namespace
}  // namespace ostrivane
