#include "core/toolpath/tgrad.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "core/gcode/gcode_program.h"
#include "core/text/error.h"
#include "toolpath_fixture.h"

namespace ostrivane {
namespace {

using test::EngineFixture;
using test::PictureCanvas;

TEST(TGradSetData, DerivedValues) {
    EngineFixture f;
    TGrad& e = *f.engine;
    // A fine pass after the rough one makes the rough one stay 2 mm short of the profile.
    e.set_data(3.2, 999.6, 6, 3, 2, 4, 250, 1.5, 80, 60, true, false, "x.tnd", true, false, true);
    EXPECT_EQ(e.profile.Nostep, 1000);
    EXPECT_EQ(e.job.HoldBack, 2.0);
    e.set_data(3.2, 10, 6, 3, 2, -1, 250, 1.5, 80, 60, false, true, "", false, true, true);
    EXPECT_EQ(e.job.HoldBack, 0.0);
    EXPECT_EQ(e.job.NoRuns, 65535);  // the run count is a 16-bit number
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

TEST(TurningDrawer, BladeAndItsMirrorImage) {
    EngineFixture f;
    f.job(4.5);
    f.drawer->drawsaw(100, 20, false);
    ASSERT_EQ(f.bitmap.bars.size(), 2u);
    EXPECT_EQ(f.bitmap.bars[0].rect, pixels(100, -1000, 104.5, 20));
    EXPECT_EQ(f.bitmap.bars[0].color, 0xFF00008Bu);
    EXPECT_EQ(f.bitmap.bars[1].rect, pixels(100, 180, 104.5, 1000));
    EXPECT_EQ(f.bitmap.bars[1].color, 0xFF00008Bu);
    f.drawer->drawsaw(10, 5, true);
    EXPECT_EQ(f.bitmap.bars[2].color, 0xFF90EE90u);
    EXPECT_TRUE(f.screen.bars.empty());
}

TEST(TurningDrawer, OutlineFromTheDataFolder) {
    EngineFixture f(false);
    std::ofstream(f.data / "saw_def.txt") << "// motor\r\n-10;5\r\n0;40\r\n";
    f.make();
    EXPECT_EQ(f.engine->count_saw_rec, 1);
    EXPECT_TRUE(f.log.empty());
    f.job(4.5);
    f.drawer->drawsaw(100, 20, false);
    ASSERT_EQ(f.bitmap.bars.size(), 3u);
    EXPECT_EQ(f.bitmap.bars[0].rect, pixels(90, 25, 100, 60));
    EXPECT_EQ(f.bitmap.bars[0].color, 0xFFFFA500u);
}

TEST(TGradCalculation, WithoutAPictureTheHostStillBreathesAtEverySaw) {
    struct Counting : JobContext {
        void pump() override { ++pumps; }
        int pumps = 0;
    } context;
    EngineFixture f;
    f.job(4.5, 10);
    f.profile({{0, 40}, {10, 30}, {20, 45}, {30, 35}});
    f.engine->set_context(&context);
    f.drawer.reset();
    ASSERT_FALSE(f.calculate());
    EXPECT_TRUE(f.bitmap.bars.empty());
    // Every placed saw and every plunge lets the host look up.
    EXPECT_GE(static_cast<std::size_t>(context.pumps),
              test::plunges(test::trace(f.lines())).size());
}

TEST(TGradCalculation, ACancelledContextStopsAtTheNextSaw) {
    struct Cancelled : JobContext {
        bool cancelled() const override { return true; }
    } context;
    EngineFixture f;
    f.job(4.5, 10);
    f.profile({{0, 40}, {10, 30}, {20, 45}, {30, 35}});
    f.engine->set_context(&context);
    EXPECT_THROW(static_cast<void>(f.calculate()), JobCancelled);
    EXPECT_EQ(f.out.text(), "");
}

TEST(TGradCalculation, ItsMovesAreDataThatWriteTheSameProgram) {
    EngineFixture f;
    f.job(4.5, 10, true, 2);
    f.profile({{0, 40}, {10, 30}, {20, 45}, {30, 35}});
    f.engine->profile.save_part(5, 25);
    ASSERT_FALSE(f.calculate());

    // Replayed through a writer of its own, the recording gives the program's bytes.
    StringSink again;
    GcodeWriter writer(read_machine_settings(f.fields), again);
    for (const Move& m : f.recorded.moves())
        writer.move(m);
    EXPECT_EQ(again.text(), f.out.text());

    // Every move knows its pass; plunges are the rough pass's, at the saw they belong to.
    std::vector<PassKind> passes;
    std::size_t plunges = 0;
    for (const Move& m : f.recorded.moves()) {
        if (passes.empty() || passes.back() != m.pass)
            passes.push_back(m.pass);
        if (m.plunge) {
            ++plunges;
            EXPECT_EQ(m.pass, PassKind::rough);
            EXPECT_GE(m.run, 1);
            EXPECT_LE(m.run, 2);
            EXPECT_TRUE(std::isfinite(m.saw_x));
        }
    }
    EXPECT_EQ(passes, (std::vector<PassKind>{PassKind::rough, PassKind::fine}));
    EXPECT_EQ(plunges, test::plunges(test::trace(f.lines())).size());
}

}  // namespace
}  // namespace ostrivane
