#include "core/toolpath/tgrad.h"

#include <gtest/gtest.h>

#include <fstream>

#include "core/text/error.h"
#include "toolpath_fixture.h"

namespace ostrivane {
namespace {

using test::EngineFixture;
using test::PictureCanvas;

TEST(TGradSetData, HandsOverTheJob) {
    EngineFixture f;
    TGrad& e = *f.engine;
    e.set_data(3.2, 999.6, 6, 3, 2, 4, 250, 1.5, 80, 60, true, false, "x.tnd", true, false, true);
    EXPECT_EQ(e.mill_width, 3.2);
    EXPECT_EQ(e.steps_mm_x, 1000);
    EXPECT_EQ(e.Nostep, 1000);
    EXPECT_EQ(e.spline2.steps_mm_x, 1000);
    EXPECT_EQ(e.spline2.mill_width, 3.2);
    EXPECT_FALSE(e.matchThem);
    EXPECT_TRUE(e.spline2.matchThem);
    EXPECT_EQ(e.jobheight, 6);
    EXPECT_EQ(e.Heightdivisor, 3);
    EXPECT_EQ(e.repeater, 2);
    EXPECT_EQ(e.NoRuns, 4);
    EXPECT_EQ(e.roughdelayer, 250);
    EXPECT_EQ(e.startposZ, 1.5);
    EXPECT_EQ(e.draaias, 80);
    EXPECT_EQ(e.thickness, 60);
    EXPECT_TRUE(e.zoet);
    EXPECT_FALSE(e.rough);
    EXPECT_EQ(e.TNDFile, "x.tnd");
    EXPECT_TRUE(e.second_spline);
    EXPECT_EQ(e.HoldBack, 2.0);

    e.set_data(3.2, 10, 6, 3, 2, -1, 250, 1.5, 80, 60, false, true, "", false, true, true);
    EXPECT_EQ(e.HoldBack, 0.0);
    EXPECT_EQ(e.NoRuns, 65535);  // the run count is a 16-bit number
}

TEST(TGradSetData, FromTheJobRecord) {
    EngineFixture f;
    TsplineRec rec;
    rec.mill_width = 4.5;
    rec.ssteps_mm_x = 1000;
    rec.ssjobheight = 3.2;
    rec.heightDivisor = 2;
    rec.ssrepeater = 3;
    rec.Noruns = 5;
    rec.RoughDelayer = 3.2;
    rec.StartZ = 1;
    rec.zoeting = true;
    rec.ssrough = true;
    rec.ssDoublet = true;
    f.engine->set_data(rec, 90, 70, "t.tnd");
    EXPECT_EQ(f.engine->NoRuns, 5);
    EXPECT_EQ(f.engine->Heightdivisor, 2);
    EXPECT_EQ(f.engine->repeater, 3);
    EXPECT_EQ(f.engine->draaias, 90);
    EXPECT_EQ(f.engine->thickness, 70);
    EXPECT_TRUE(f.engine->second_spline);
    EXPECT_EQ(f.engine->HoldBack, 2.0);
}

TEST(TGradSetData, ReadsTheJobRecordFromTheFields) {
    FieldValues fields(main_window_components());
    fields.assign("Ssaw_width", "3.5");
    fields.assign("runsdepth", "4");
    fields.assign("Sanding", "true");
    const TsplineRec rec = read_job_settings(fields);
    EXPECT_EQ(rec.mill_width, 3.5);
    EXPECT_EQ(rec.ssjobheight, 3.2);
    EXPECT_EQ(rec.Noruns, 4);
    EXPECT_EQ(rec.heightDivisor, 1);
    EXPECT_EQ(rec.ssrepeater, 1);
    EXPECT_EQ(rec.StartZ, 1);
    EXPECT_EQ(rec.ssteps_mm_x, 1000);
    EXPECT_TRUE(rec.zoeting);
    EXPECT_TRUE(rec.ssrough);
    EXPECT_TRUE(rec.ssmatch1);
    EXPECT_FALSE(rec.ssDoublet);
    fields.assign("runsheight", "1.5");
    EXPECT_THROW(read_job_settings(fields), Error);
}

// Pixels of the fixture's bitmap: 10 per mm, y = 0 at the bottom (pixel 1000).
RectF pixels(double x1, double y1, double x2, double y2) {
    return RectF{static_cast<float>(x1 * 10), static_cast<float>(1000 - y1 * 10),
                 static_cast<float>(x2 * 10), static_cast<float>(1000 - y2 * 10)}
        .normalized();
}

TEST(TGradDrawsaw, BladeAndItsMirrorImage) {
    EngineFixture f;
    f.job(4.5);
    f.engine->drawsaw(100, 20, false);
    ASSERT_EQ(f.bitmap.bars.size(), 2u);
    EXPECT_EQ(f.bitmap.bars[0].rect, pixels(100, -1000, 104.5, 20));
    EXPECT_EQ(f.bitmap.bars[0].color, 0xFF00008Bu);
    EXPECT_EQ(f.bitmap.bars[1].rect, pixels(100, 180, 104.5, 1000));
    EXPECT_EQ(f.bitmap.bars[1].color, 0xFF00008Bu);
    f.engine->drawsaw(10, 5, true);
    EXPECT_EQ(f.bitmap.bars[2].color, 0xFF90EE90u);
    EXPECT_TRUE(f.screen.bars.empty());
}

TEST(TGradDrawsaw, OutlineFromTheDataFolder) {
    EngineFixture f(false);
    std::ofstream(f.data / "saw_def.txt") << "// motor\r\n-10;5\r\n0;40\r\n";
    f.make();
    EXPECT_EQ(f.engine->count_saw_rec, 1);
    EXPECT_TRUE(f.log.empty());
    f.job(4.5);
    f.engine->drawsaw(100, 20, false);
    ASSERT_EQ(f.bitmap.bars.size(), 3u);
    EXPECT_EQ(f.bitmap.bars[0].rect, pixels(90, 25, 100, 60));
    EXPECT_EQ(f.bitmap.bars[0].color, 0xFFFFA500u);
}

TEST(TGradDrawsaw, WithoutABitmapNothingIsDrawnButTheHostBreathes) {
    struct Counting : JobContext {
        void pump() override { ++pumps; }
        int pumps = 0;
    } context;
    EngineFixture f;
    f.engine->thebitmap = nullptr;
    f.engine->set_context(&context);
    f.engine->drawsaw(1, 2, false);
    EXPECT_EQ(context.pumps, 1);
    EXPECT_TRUE(f.bitmap.bars.empty());
}

TEST(TGradDrawsaw, CancelledContextStopsAtTheNextSaw) {
    struct Cancelled : JobContext {
        bool cancelled() const override { return true; }
    } context;
    EngineFixture f;
    f.engine->set_context(&context);
    EXPECT_THROW(f.engine->drawsaw(1, 2, false), Error);
}

}  // namespace
}  // namespace ostrivane
