#include <gtest/gtest.h>

#include "core/planner/plank_list.h"
#include "core/text/error.h"
#include "core/text/number_format.h"
#include "planner_fixture.h"
#include "support/error_of.h"
#include "support/near.h"

namespace ostrivane {
namespace {

struct ListCase {
    double D;  // YminY is chosen so that the blank's diameter with margin is D
    double t;
    std::int32_t N;
    std::vector<std::string> entries;
};

TEST(PlankList, CountsThePlanksOfTheStack) {
    const std::vector<ListCase> cases = {
        {100, 18, 6, {"2 times Mid plank", "2 times plank2", "2 times plank3"}},
        {80, 18, 5, {"1 Mid plank", "2 times plank2", "2 times plank3"}},
        {10, 18, 1, {"1 Mid plank"}},
        {36, 18, 3, {"1 Mid plank", "2 times plank2"}},
        {35.9, 18, 2, {"2 times Mid plank"}},
        {200, 10, 21, {}},
    };
    for (const ListCase& c : cases) {
        SCOPED_TRACE("D = " + std::to_string(c.D) + ", t = " + std::to_string(c.t));
        // D = |turning_axis_y - YminY| * 2 + margin with margin 10 and turning_axis_y 100.
        const double YminY = 100 - (c.D - 10) / 2;
        const PlankList list = make_plank_list(YminY, 100, c.t, 10);
        EXPECT_DOUBLE_EQ(list.D, c.D);
        EXPECT_EQ(list.N, c.N);
        EXPECT_EQ(list.odd(), c.N % 2 == 1);
        EXPECT_EQ(list.entries.size(), static_cast<std::size_t>((c.N + 1) / 2));
        for (std::size_t i = 0; i < c.entries.size(); ++i)
            EXPECT_EQ(list.entries[i], c.entries[i]);
    }
    // A profile above the axis counts the same as one below it.
    EXPECT_EQ(make_plank_list(145, 100, 18, 10).N, make_plank_list(55, 100, 18, 10).N);
}

TEST(PlankList, RefusesThicknessesThatCannotMakeAList) {
    for (const double t : {0.0, -18.0}) {
        try {
            make_plank_list(55, 100, t, 10);
            FAIL() << "thickness " << t << " accepted";
        } catch (const Error& e) {
            EXPECT_STREQ(e.what(), "Plank thickness (mm) must be greater than 0");
        }
    }
    // 100 mm in 0.005 mm planks is 20,001 planks, 10,001 entries: one too many.
    EXPECT_THROW(make_plank_list(55, 100, 0.005, 10), Error);
    EXPECT_EQ(make_plank_list(55, 100, 0.01, 10).entries.size(), 5001u);
    EXPECT_THROW(make_plank_list(55, 100, 1e-300, 10), Error);
}

TEST(PlankList, NeedsAProfileOfTwoPoints) {
    JobContext job;
    for (const auto& points : {std::vector<ShapePoint>{}, std::vector<ShapePoint>{{0, 60}}}) {
        test::Profile p(points);
        try {
            plank_list(p.set, 100, 18, 10, job);
            FAIL() << "a profile of " << points.size() << " points gave a list";
        } catch (const Error& e) {
            EXPECT_STREQ(e.what(), "The spline does not contain any points");
        }
    }
}

TEST(PlankList, TakesTheProfilesLowestSample) {
    // A cylinder of radius 35: D = 80 with the default margin.
    test::Profile p(test::line_points(0, 65, 100, 65, 5));
    JobContext job;
    const PlankList list = plank_list(p.set, 100, 18, 10, job);
    EXPECT_TRUE(test::near(list.D, 80, 1e-9));
    EXPECT_EQ(list.N, 5);
}

TEST(PlankChoice, PlacesEachPlanksInnerFace) {
    const PlankList even = make_plank_list(55, 100, 18, 10);  // N = 6
    const PlankList odd = make_plank_list(65, 100, 18, 10);   // N = 5
    ASSERT_FALSE(even.odd());
    ASSERT_TRUE(odd.odd());
    struct Row {
        const PlankList* list;
        int entry;
        int k;
        double c;
    };
    for (const Row& r :
         {Row{&even, 1, 0, 0}, Row{&even, 2, 1, 18}, Row{&even, 3, 2, 36}, Row{&odd, 1, 0, 0},
          Row{&odd, 2, 1, 9}, Row{&odd, 3, 2, 27}, Row{&even, 0, -1, -18}, Row{&odd, 0, -1, -18}}) {
        const PlankChoice c = choose_plank(*r.list, r.entry, 18);
        EXPECT_EQ(c.entry, r.entry);
        EXPECT_EQ(c.k, r.k);
        EXPECT_EQ(c.c, r.c) << "entry " << r.entry << (r.list->odd() ? " (odd)" : " (even)");
    }
    EXPECT_THROW(choose_plank(even, 4, 18), Error);
    // An empty list always plans no plank.
    EXPECT_EQ(choose_plank(PlankList{}, 1, 18).k, -1);
    // A negative margin (a blank smaller than the piece, down to a diameter below 0) or a huge
    // one is refused before any plank is counted.
    for (const double margin : {-0.001, -40.0, -1e308, 1000.5, 1e308}) {
        EXPECT_EQ(test::error_of([&] { make_plank_list(100, 100, 18, margin); }),
                  "Diameter margin (mm) must be from 0 to 1000, not " + format_general(margin));
    }
    EXPECT_NO_THROW(make_plank_list(100, 100, 18, 1000));
}

}  // namespace
}  // namespace ostrivane
