#include "core/toolpath/turning_job.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "core/gcode/gcode_program.h"
#include "core/text/error.h"
#include "core/text/file_io.h"
#include "support/error_of.h"
#include "support/scripted_operator.h"
#include "toolpath_fixture.h"

namespace ostrivane {
namespace {

using test::EngineFixture;
using test::ScriptedOperator;

const std::vector<std::string> kHeader = {"(GCODE created by Ostrivane, https://ostrivane.org)",
                                          "G21",
                                          "G28.1",
                                          "G17 G91",
                                          "G43H1",
                                          "T1M06",
                                          "S12000 M03"};
const std::vector<std::string> kFooter = {"G00 F270", "G28 Y0.0", "G28", "M2"};

struct JobFixture : EngineFixture {
    JobFixture() {
        job(4.5, 20);
        profile({{0, 10}, {10, 12}, {20, 11}, {30, 13}});
    }
    TurningResult run() {
        JobContext context;
        OutputDestination where{data.path()};
        where.exact_file = file;
        return write_turning_job(*engine, fields, op, moves, where, context, drawer.get());
    }
    std::vector<std::string> program() const {
        std::vector<std::string> lines;
        const auto text = read_file(file);
        if (!text)
            return lines;
        std::size_t begin = 0;
        for (std::size_t end; (end = text->find("\r\n", begin)) != std::string::npos;
             begin = end + 2)
            lines.push_back(text->substr(begin, end - begin));
        return lines;
    }
    // The lines between the header and the footer.
    std::vector<std::string> body() const {
        const auto lines = program();
        EXPECT_GE(lines.size(), kHeader.size() + kFooter.size());
        EXPECT_TRUE(std::equal(kHeader.begin(), kHeader.end(), lines.begin()));
        EXPECT_TRUE(std::equal(kFooter.rbegin(), kFooter.rend(), lines.rbegin()));
        return {lines.begin() + static_cast<long>(kHeader.size()),
                lines.end() - static_cast<long>(kFooter.size())};
    }

    std::filesystem::path file = data / "job.ngc";
    ScriptedOperator op;
    RecordedMoves moves;
};

TEST(TurningJob, AsksAboutTheFastRoutineForAPlainRoughTask) {
    JobFixture f;
    f.op.answer = Operator::Answer::No;
    const TurningResult r = f.run();
    ASSERT_TRUE(r.file);
    EXPECT_FALSE(r.failed);
    EXPECT_EQ(f.op.messages,
              (std::vector<std::string>{kFastRoughQuestion, f.file.string() + " will be created.",
                                        f.file.string() + " is created."}));
    EXPECT_EQ(f.notices().back(), "Action Rough");
    // The simulation bitmap is cleared to transparent before anything is drawn.
    ASSERT_FALSE(f.bitmap.clears.empty());
    EXPECT_EQ(f.bitmap.clears.front(), 0x00000000u);

    JobFixture fast;
    fast.op.answer = Operator::Answer::Yes;
    ASSERT_TRUE(fast.run().file);
    EXPECT_EQ(fast.notices().back(), "Action fast rough");
}

TEST(TurningJob, CancelWritesNothing) {
    JobFixture f;
    f.op.answer = Operator::Answer::Cancel;
    const TurningResult r = f.run();
    EXPECT_FALSE(r.file);
    EXPECT_FALSE(r.failed);
    EXPECT_FALSE(std::filesystem::exists(f.file));
    EXPECT_TRUE(f.notices().empty());
    EXPECT_EQ(f.op.messages, std::vector<std::string>{kFastRoughQuestion});
}

TEST(TurningJob, NoQuestionWithoutRoughingOrWithSlots) {
    JobFixture f;
    f.fields.assign("Roughing", "false");
    f.engine->job.rough = false;
    ASSERT_TRUE(f.run().file);
    EXPECT_EQ(f.op.messages.front(), f.file.string() + " will be created.");

    JobFixture slots;
    const std::string tnd = slots.tooth_file("1\r\n12\r\n20\r\n1\r\n");
    slots.job(4.5, 20, false, 1, 3.2, tnd);
    ASSERT_TRUE(slots.run().file);
    EXPECT_EQ(slots.op.messages.front(), slots.file.string() + " will be created.");
    EXPECT_EQ(slots.engine->gradCounter2, slots.engine->profile.GradCounter + 2);
}

TEST(TurningJob, RepetitionsLayCopiesSideBySide) {
    for (int repeat : {1, 3}) {
        SCOPED_TRACE(repeat);
        JobFixture f;
        f.op.answer = Operator::Answer::No;
        f.engine->job.repeater = repeat;
        ASSERT_TRUE(f.run().file);
        const auto body = f.body();
        const auto passes = std::count(body.begin(), body.end(), "G00 X0.01000000 Y0.0 Z0.0 F270");
        EXPECT_EQ(passes, repeat);
        // After each pass: to the end of the profile at the feed, then Z home.
        const auto z_home = std::count(body.begin(), body.end(), "G01 F270");
        EXPECT_EQ(z_home, repeat == 1 ? 0 : repeat);
        if (repeat > 1) {
            const auto positions = test::trace(body);
            EXPECT_EQ(body[body.size() - 3].rfind("G01 X", 0), 0u);
            EXPECT_NEAR(positions[body.size() - 3].x, repeat * f.engine->profile.XmaxX, 1e-6);
        }
    }
}

TEST(TurningJob, NeitherTaskLeavesOnlyTheRecordedMoves) {
    JobFixture f;
    f.fields.assign("Roughing", "false");
    f.engine->job.rough = false;
    f.engine->job.repeater = 2;
    f.moves.Movecount = 2;
    f.moves.Movements[1] = {10, 5};
    f.moves.Movements[2] = {20, 8};
    ASSERT_TRUE(f.run().file);
    EXPECT_EQ(f.body(), (std::vector<std::string>{
                            "G00 X10.00000000 Y0.0 Z0.0 F270", "G01 X0.0 Y5.00000000 Z0.0 F270",
                            "G00 X10.00000000 Y0.0 Z0.0 F270", "G01 X0.0 Y3.00000000 Z0.0 F270"}));
}

TEST(TurningJob, RecordedMovesStartWhereTheLastPassEnded) {
    JobFixture f;
    f.op.answer = Operator::Answer::No;
    f.moves.Movecount = 1;
    f.moves.Movements[1] = {40, 6};
    ASSERT_TRUE(f.run().file);
    const auto body = f.body();
    const auto end = test::trace(body).back();
    EXPECT_NEAR(end.x, 40, 1e-6);
    EXPECT_NEAR(end.y, 6, 1e-6);
    EXPECT_EQ(body.back(), "G01 X0.0 Y6.00000000 Z0.0 F270");
}

TEST(TurningJob, FailedCalculationKeepsWhatWasWrittenAndDropsTheMoves) {
    JobFixture f;
    f.op.answer = Operator::Answer::No;
    f.engine->job.draaias = 11;  // the profile reaches beyond the axis after its start
    f.moves.Movecount = 1;
    f.moves.Movements[1] = {40, 6};
    const TurningResult r = f.run();
    ASSERT_TRUE(r.file);
    EXPECT_TRUE(r.failed);
    const auto body = f.body();
    ASSERT_FALSE(body.empty());
    EXPECT_EQ(body.front(), "G00 X0.01000000 Y0.0 Z0.0 F270");
    EXPECT_EQ(f.notices().back(), "Turning axis is cut to pieces !!!");
    // Told as the failure it is, in an error, and the file is never called created.
    EXPECT_EQ(f.op.errors, std::vector<std::string>{
                               "Turning axis is cut to pieces !!!\r" + f.file.string() +
                               " holds the program only as far as it got: do not cut with it."});
    for (const std::string& m : f.op.messages)
        EXPECT_EQ(m.find("is created"), std::string::npos) << m;
    // The file is finished all the same.
    EXPECT_EQ(f.program().back(), "M2");
}

TEST(TurningJob, AProfileAboveTheTurningAxisIsAFailureNotAProgram) {
    JobFixture f;
    f.op.answer = Operator::Answer::No;
    f.engine->job.draaias = 5;  // the whole profile lies beyond the axis
    const TurningResult r = f.run();
    ASSERT_TRUE(r.file);
    EXPECT_TRUE(r.failed);
    ASSERT_EQ(f.op.errors.size(), 1u);
    EXPECT_EQ(f.op.errors.front().rfind("Turning axis is cut to pieces !!!\r", 0), 0u);
    for (const std::string& m : f.op.messages)
        EXPECT_EQ(m.find("is created"), std::string::npos) << m;
}

TEST(TurningJob, FewerThanTwoPointsGiveAnEmptyProgram) {
    JobFixture f;
    f.engine->profile.destroy_points(-1, -100, 100, 100);
    f.op.answer = Operator::Answer::No;
    f.moves.Movecount = 1;
    const TurningResult r = f.run();
    ASSERT_TRUE(r.file);
    EXPECT_TRUE(r.failed);
    EXPECT_TRUE(f.body().empty());
    EXPECT_EQ(f.notices(), std::vector<std::string>{"The spline does not contain any points"});
    EXPECT_EQ(f.op.errors,
              std::vector<std::string>{"The spline does not contain any points\r" +
                                       f.file.string() + " holds only its header and footer."});
    for (const std::string& m : f.op.messages)
        EXPECT_EQ(m.find("is created"), std::string::npos) << m;
}

TEST(TurningJob, AJobThatCutsNothingFailsEvenWhenTheCalculationDidNot) {
    JobFixture f;
    f.fields.assign("Roughing", "false");
    f.engine->job.rough = false;
    f.engine->job.zoet = false;
    const TurningResult r = f.run();
    ASSERT_TRUE(r.file);
    EXPECT_TRUE(r.failed);
    EXPECT_TRUE(f.body().empty());
}

TEST(TurningJob, ProgressGoesForwardRunByRun) {
    struct Recorder : JobContext {
        void progress(double done, double total) override { reports.push_back({done, total}); }
        std::vector<std::pair<double, double>> reports;
    } context;
    JobFixture f;
    f.op.answer = Operator::Answer::No;
    f.engine->set_data(4.5, 20, 3.2, 2, 1, 3, 3.2, 1, 100, 100, true, true, "", false, true, true);
    f.engine->profile.save_part(5, 25);
    OutputDestination where{f.data.path()};
    where.exact_file = f.file;
    ASSERT_TRUE(write_turning_job(*f.engine, f.fields, f.op, f.moves, where, context).file);
    ASSERT_FALSE(context.reports.empty());
    // Three rough runs and two fine runs over the profile.
    for (std::size_t k = 1; k < context.reports.size(); ++k) {
        EXPECT_EQ(context.reports[k].second, 5);
        EXPECT_GE(context.reports[k].first, context.reports[k - 1].first);
    }
    EXPECT_GT(context.reports.back().first, 4);
    EXPECT_LE(context.reports.back().first, 5);
}

TEST(TurningJob, CancelledJobLeavesNoFile) {
    struct Cancelled : JobContext {
        bool cancelled() const override { return true; }
    } context;
    JobFixture f;
    f.op.answer = Operator::Answer::No;
    OutputDestination where{f.data.path()};
    where.exact_file = f.file;
    EXPECT_THROW(write_turning_job(*f.engine, f.fields, f.op, f.moves, where, context),
                 JobCancelled);
    EXPECT_FALSE(std::filesystem::exists(f.file));
}

TEST(TurningJob, SawWithoutWidthIsRefusedBeforeTheFile) {
    for (double width : {0.0, -1.0}) {
        JobFixture f;
        f.job(width, 20);
        const TurningResult r = f.run();
        EXPECT_FALSE(r.file);
        EXPECT_TRUE(r.failed);
        EXPECT_FALSE(std::filesystem::exists(f.file));
        EXPECT_EQ(f.op.messages, std::vector<std::string>{"Saw width (mm) must be greater than 0"});
    }
}

TEST(TurningJob, BadSettingRefusesTheJobBeforeItsFileExists) {
    JobFixture f;
    f.op.answer = Operator::Answer::No;
    f.fields.assign("normfeed", "4,5");
    EXPECT_EQ(test::error_of([&] { f.run(); }),
              "4,5 inside Normal feedrate (mm/sec.) is not a valid floating point number.");
    EXPECT_FALSE(std::filesystem::exists(f.file));
    EXPECT_EQ(f.op.messages, std::vector<std::string>{kFastRoughQuestion});
}

TEST(TurningJob, NumbersNoMachineCouldFollowAreRefusedBeforeAnythingIsAsked) {
    const struct {
        const char* field;
        const char* text;
        const char* message;
    } cases[] = {
        {"repeater", "-1", "Repeat the job must be between 0 and 1000, not -1."},
        {"runsdepth", "-1", "Runs to full depth must be between 0 and 1000, not -1."},
        {"runsheight", "1001", "Runs to full height must be between 0 and 1000, not 1001."},
        {"Sjobheight", "1e308", "Job height (mm) must lie between -100000 and 100000, not 1e308."},
        {"PositionZ", "-2e5",
         "Start Position Z (mm) must lie between -100000 and 100000, not -2e5."},
        {"delaystep", "1e308",
         "Delay at each step (msec.) must lie between -100000 and 100000, not 1e308."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        JobFixture f;
        f.fields.set_text(c.field, c.text);
        const TurningResult r = f.run();
        EXPECT_FALSE(r.file);
        EXPECT_TRUE(r.failed);
        EXPECT_FALSE(std::filesystem::exists(f.file));
        EXPECT_EQ(f.op.messages, std::vector<std::string>{c.message});
    }
}

}  // namespace
}  // namespace ostrivane
