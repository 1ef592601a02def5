#include <gtest/gtest.h>

#include <algorithm>

#include "core/text/error.h"
#include "support/near.h"
#include "toolpath_fixture.h"

namespace ostrivane {
namespace {

using test::EngineFixture;
using test::near;

std::string teeth(std::initializer_list<std::array<double, 3>> slots) {
    std::string text = std::to_string(slots.size()) + "\r\n";
    for (const auto& s : slots) {
        for (double v : s)
            text += std::to_string(v) + "\r\n";
    }
    return text;
}

int plus_marks(const EngineFixture& f) {
    return static_cast<int>(std::count_if(f.screen.texts.begin(), f.screen.texts.end(),
                                          [](const auto& t) { return t.text == "+"; }));
}

TEST(ToothMerge, WithoutToothFileThePassListIsTheGradients) {
    EngineFixture f;
    f.job(4.5, 50);
    f.profile({{0, 30}, {15, 20}, {30, 35}, {45, 15}});
    ASSERT_FALSE(f.calculate());
    ASSERT_EQ(f.engine->gradCounter2, f.engine->profile.GradCounter);
    for (int k = 1; k <= f.engine->profile.GradCounter; ++k) {
        EXPECT_EQ(f.engine->gradientsArray2[k].positionXleft,
                  f.engine->profile.GradientsArray[k].positionXleft);
    }
}

TEST(ToothMerge, SlotEdgesJoinThePassList) {
    EngineFixture f;
    f.job(4.5, 50);
    const std::string file = f.tooth_file(teeth({{10, 20, 3}}));
    f.job(4.5, 50, false, 1, 3.2, file);
    f.profile({{0, 10}, {20, 14}, {40, 18}});  // rising: no turning point in the slot
    ASSERT_FALSE(f.calculate());
    TGrad& e = *f.engine;
    ASSERT_EQ(e.profile.GradCounter, 1);
    ASSERT_EQ(e.gradCounter2, 3);
    const gradient_rec& start = e.gradientsArray2[2];
    const gradient_rec& end = e.gradientsArray2[3];
    EXPECT_EQ(start.positionXleft, 10);
    EXPECT_EQ(start.positionX, 10);
    EXPECT_EQ(start.depth, 3);
    EXPECT_TRUE(start.positive);
    EXPECT_EQ(start.positionYleft, e.profile.YatX(10));
    EXPECT_EQ(end.positionXleft, 20);
    EXPECT_EQ(end.depth, 0);
    EXPECT_EQ(plus_marks(f), 2);
    // The slot is cut 3 mm deeper, from its left edge until the saw reaches its right edge.
    for (const auto& p : test::plunges(test::trace(f.lines()))) {
        const bool inside = p.x >= 10 - 1e-9 && p.x + 4.5 <= 20 + 1e-9;
        EXPECT_TRUE(near(p.y, e.profile.YatX(p.x) + (inside ? 3 : 0), 0.01)) << p.x;
    }
}

TEST(ToothMerge, NarrowToothFailsTheJob) {
    struct Case {
        const char* name;
        std::string file;
        bool fails;
    };
    const Case cases[] = {
        {"as wide as the saw", teeth({{10, 14.5, 1}}), false},
        {"0.00002 mm narrower", teeth({{10, 14.49998, 1}}), true},
        {"narrow one before the profile", teeth({{-20, -19, 1}, {10, 20, 1}}), true},
        // The first tooth beyond the profile is read (and checked), later ones are not.
        {"narrow one beyond the profile", teeth({{10, 20, 1}, {50, 51, 1}}), true},
        {"narrow one after that", teeth({{10, 20, 1}, {50, 60, 1}, {70, 71, 1}}), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EngineFixture f;
        const std::string file = f.tooth_file(c.file);
        f.job(4.5, 50, false, 1, 3.2, file);
        f.profile({{0, 10}, {20, 14}, {40, 18}});
        EXPECT_EQ(f.calculate(), c.fails);
        if (c.fails) {
            EXPECT_EQ(f.notices().back(), "Saw width more than cut width !!");
            EXPECT_EQ(f.engine->gradCounter2, f.engine->profile.GradCounter);
            EXPECT_TRUE(f.lines().empty());
        }
    }
}

TEST(ToothMerge, DepthFromTheSecondSpline) {
    for (double offset : {2.0, -2.0}) {
        SCOPED_TRACE(offset);
        EngineFixture f;
        const std::string file = f.tooth_file(teeth({{10, 20, 7}}));
        f.fields.assign("UseTND", "false");
        f.fields.assign("doublet", "true");
        f.job(4.5, 50, false, 1, 3.2, file, true);
        f.profile({{0, 10}, {20, 14}, {40, 18}});
        for (const auto& [x, y] : {std::pair{-1.0, 9.8}, {20.0, 14.0}, {41.0, 18.2}})
            f.engine->spline2.save_point(x, y + offset);
        ASSERT_FALSE(f.calculate());
        EXPECT_TRUE(near(f.engine->gradientsArray2[2].depth, offset, 0.01));
    }
}

TEST(ToothMerge, SecondSplineSkipsTheDepthLineUnread) {
    EngineFixture f;
    const std::string file = f.tooth_file("1\r\n10\r\n20\r\nno depth here\r\n");
    f.job(4.5, 50, false, 1, 3.2, file, true);
    f.profile({{0, 10}, {20, 14}, {40, 18}});
    for (const auto& [x, y] : {std::pair{-1.0, 9.8}, {20.0, 15.0}, {41.0, 18.2}})
        f.engine->spline2.save_point(x, y);
    EXPECT_FALSE(f.calculate());
}

TEST(ToothMerge, DamagedToothFileEndsTheJob) {
    EngineFixture f;
    const std::string file = f.tooth_file("2\r\n10\r\n20\r\n1\r\n30\r\n");
    f.job(4.5, 50, false, 1, 3.2, file);
    f.profile({{0, 10}, {20, 14}, {40, 18}});
    EXPECT_THROW(f.calculate(), Error);
    EXPECT_EQ(f.engine->toth, nullptr);  // closed all the same
}

TEST(ToothMerge, GougesNextToASlotAreLimitedToTheProfile) {
    EngineFixture f;
    const std::string file = f.tooth_file(teeth({{10, 20, 1}}));
    f.job(4.5, 50, false, 1, 3.2, file);
    f.profile({{0, 10}, {10, 15}, {21, 22}, {30, 15}, {40, 10}});
    ASSERT_FALSE(f.calculate());
    TGrad& e = *f.engine;
    bool limited_right_of_the_slot = false;
    for (const auto& p : test::plunges(test::trace(f.lines()))) {
        double lowest = e.profile.YatX(p.x);
        for (double x = p.x; x <= p.x + 4.5 + 1e-9; x += 0.005)
            lowest = std::min(lowest, e.profile.YatX(x));
        const bool inside = p.x >= 10 - 1e-9 && p.x + 4.5 <= 20 + 1e-9;
        EXPECT_LE(p.y, lowest + (inside ? 1 : 0) + 0.06) << "at x = " << p.x;
        limited_right_of_the_slot |= p.x > 20 && p.y < e.profile.YatX(p.x) - 1;
    }
    EXPECT_TRUE(limited_right_of_the_slot);
    // Said once per job, in the log only.
    const auto limited = std::count_if(f.log.begin(), f.log.end(), [](const auto& line) {
        return line.first.rfind("Plunge limited to the profile at X = ", 0) == 0 && !line.second;
    });
    EXPECT_EQ(limited, 1);
}

TEST(ToothMerge, TooManySlotsForThePassListAreRefused) {
    EngineFixture f;
    std::string text = "200\r\n";
    for (int k = 0; k < 200; ++k)
        text += std::to_string(1 + k * 0.2) + "\r\n" + std::to_string(1.1 + k * 0.2) + "\r\n1\r\n";
    const std::string file = f.tooth_file(text);
    f.job(0.05, 50, false, 1, 3.2, file);
    f.profile({{0, 10}, {20, 14}, {45, 18}});
    EXPECT_TRUE(f.calculate());
    EXPECT_EQ(f.notices().back(),
              "Too many tooth slots: the saw positions exceed the pass list of 300");
    EXPECT_TRUE(f.lines().empty());
}

// The check holds a program to the slots the merge cuts: the teeth on the profile, the last
// one's right edge kept within it.
TEST(ToothMerge, ProfileSlotsAreTheSlotsTheMergeCuts) {
    EngineFixture f;
    const std::string text = teeth({{-10, -5, 1}, {10, 20, 3}, {35, 50, 2}, {45, 55, 1}});
    f.job(4.5, 50, false, 1, 3.2, f.tooth_file(text));
    f.profile({{0, 10}, {20, 14}, {40, 18}});
    ASSERT_FALSE(f.calculate());
    const std::vector<toothrec> slots = f.engine->profile_slots(text, "job.tnd");
    ASSERT_EQ(slots.size(), 2u);
    ASSERT_EQ(f.engine->merged_slots.size(), 2u);
    const double end = f.engine->profile.XmaxX;
    const double expected[2][3] = {{10, 20, 3}, {35, end, 2}};
    for (std::size_t k = 0; k < 2; ++k) {
        EXPECT_EQ(slots[k].posleft, expected[k][0]);
        EXPECT_EQ(slots[k].posright, expected[k][1]);
        EXPECT_EQ(slots[k].depth, expected[k][2]);
        EXPECT_EQ(f.engine->merged_slots[k].posright, slots[k].posright);
    }
    // A damaged file is refused and leaves no tooth file open.
    EXPECT_THROW(f.engine->profile_slots("3\r\n10\r\n", "bad.tnd"), Error);
    EXPECT_FALSE(f.engine->toth);
    EXPECT_EQ(f.engine->noteeth, 0);
}

}  // namespace
}  // namespace ostrivane
