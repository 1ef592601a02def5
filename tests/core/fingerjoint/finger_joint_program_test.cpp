#include "core/fingerjoint/finger_joint_program.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "core/app/field_values.h"
#include "core/app/main_window_fields.h"
#include "core/fingerjoint/tooth_file.h"
#include "core/gcode/gcode_program.h"
#include "core/check/program_stats.h"
#include "core/text/ascii_text.h"
#include "core/text/error.h"
#include "core/text/file_io.h"
#include "core/text/number_format.h"
#include "core/text/number_parse.h"
#include "support/near.h"
#include "support/scripted_operator.h"
#include "support/temp_dir.h"

namespace ostrivane {
namespace {

TfastRec job_of(const FieldValues& fields) {
    test::ScriptedOperator op;
    TfastRec r;
    EXPECT_TRUE(Getdata(fields, op, r));
    return r;
}

std::vector<std::string> body_lines(const FieldValues& fields) {
    StringSink out;
    GcodeWriter writer(read_machine_settings(fields), out);
    JobContext context;
    write_finger_joint_passes(writer, job_of(fields), context);
    std::vector<std::string> lines;
    for (const auto line : split_lines(out.text()))
        lines.emplace_back(line);
    return lines;
}

TEST(FingerJointProgram, DefaultFieldsGiveTheWorkedExample) {
    const std::string in = "G01 X0.0 Y10.00000000 Z0.0 F270";
    const std::string up = "G01 X0.0 Y0.0 Z3.20000000 F270";
    const std::string down = "G01 X0.0 Y0.0 Z-3.20000000 F270";
    const std::string out = "G00 X0.0 Y-10.00000000 Z0.0 F270";
    const std::string step = "G00 X2.26666667 Y0.0 Z0.0 F270";
    const std::vector<std::string> slot_starting_up = {in, up, out, step, in, down, out, step,
                                                       in, up, out, step, in, down, out};
    std::vector<std::string> expected = {"G00 X0.00000000 Y0.0 Z0.0 F270",
                                         "G00 X0.0 Y0.00000000 Z0.0 F270",
                                         "G00 X0.0 Y0.0 Z0.00000000 F270"};
    expected.insert(expected.end(), slot_starting_up.begin(), slot_starting_up.end());
    expected.push_back("G00 X13.20000000 Y0.0 Z0.0 F270");
    expected.insert(expected.end(), slot_starting_up.begin(), slot_starting_up.end());
    expected.push_back("G00 X3.20000000 Y0.0 Z0.0 F270");
    EXPECT_EQ(body_lines(FieldValues(main_window_components())), expected);
}

TEST(FingerJointProgram, PassesPerSlot) {
    struct Case {
        double saw, cut, passes, step;
    };
    const Case cases[] = {
        {3.2, 10, 4, 6.8 / 3}, {4, 8, 2, 4},         {4, 8.002, 2, 4.002},
        {4, 8.008, 3, 2.004},  {4, 4, 1, 0},         {10.000005, 10, 1, 0},
        {1, 2.5, 3, 0.75},     {1, 3.5, 4, 2.5 / 3}, {2, 2.5, 2, 0.5},
    };
    for (const Case& c : cases) {
        TfastRec r;
        r.width_of_saw = c.saw;
        r.width_of_cut = c.cut;
        const SlotPasses s = slot_passes(r);
        EXPECT_EQ(s.passes, c.passes) << c.saw << " " << c.cut;
        EXPECT_TRUE(test::near(s.step, c.step, 1e-12)) << c.saw << " " << c.cut;
    }
}

TEST(FingerJointProgram, EndsBelowTheWorkAfterAnOddNumberOfPasses) {
    FieldValues fields(main_window_components());
    fields.set_text("cut_width", "3.2");
    fields.set_text("no_cuts", "3");
    fields.set_text("start_z", "5");
    const auto lines = body_lines(fields);
    ASSERT_EQ(lines.size(), 3u + 3 * 4 + 1);
    EXPECT_EQ(lines[2], "G00 X0.0 Y0.0 Z-5.00000000 F270");
    EXPECT_EQ(lines[6], "G00 X13.20000000 Y0.0 Z0.0 F270");  // no step inside a slot
    EXPECT_EQ(lines[12], "G01 X0.0 Y0.0 Z3.20000000 F270");
    EXPECT_EQ(lines[14], "G00 X3.20000000 Y0.0 Z0.0 F270");
    EXPECT_EQ(lines[15], "G01 X0.0 Y0.0 Z-3.20000000 F270");

    fields.set_text("no_cuts", "2");
    EXPECT_EQ(body_lines(fields).size(), 3u + 2 * 4);
}

// The X, Y, Z distances of a move line written with the default mapping.
std::array<double, 3> distances(const std::string& line) {
    std::array<double, 3> d{};
    std::size_t words = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const auto axis = std::string_view("XYZ").find(line[i]);
        if (axis == std::string_view::npos)
            continue;
        const std::size_t end = line.find(' ', i);
        d[axis] = parse_float(std::string_view(line).substr(i + 1, end - i - 1)).value();
        ++words;
    }
    EXPECT_EQ(words, 3u) << line;
    return d;
}

// Runs the body line by line and checks it against the tooth file written from the same
// fields: every slot is cleared from its left to its right edge by passes at the cut depth
// through the whole job height, and the blade ends below the work, where it started.
void check_geometry(const FieldValues& fields) {
    const TfastRec job = job_of(fields);
    StringSink tooth;
    JobContext context;
    write_tooth_lines(tooth, job, context);
    std::vector<double> edges;
    for (const auto line : split_lines(tooth.text()))
        edges.push_back(*parse_float(line));

    double x = 0, y = 0, z = 0;
    std::vector<std::vector<double>> slots;  // blade positions of the passes of each slot
    for (const std::string& line : body_lines(fields)) {
        const auto d = distances(line);
        x += d[0];
        y += d[1];
        z += d[2];
        if (d[2] == 0 || !test::near(y, job.start_positionY + job.depth_cut, 1e-6))
            continue;
        EXPECT_TRUE(test::near(std::abs(d[2]), job.job_height, 1e-6)) << line;
        EXPECT_EQ(line.rfind("G01 ", 0), 0u) << line;
        // Slots lie a blade and a pin apart; passes inside one at most a blade.
        if (slots.empty() || x - slots.back().back() > job.width_of_saw + job.width_of_pin / 2) {
            slots.emplace_back();
        }
        slots.back().push_back(x);
    }
    EXPECT_TRUE(test::near(z, -job.start_positionZ, 1e-6));
    EXPECT_TRUE(test::near(y, job.start_positionY, 1e-6));
    ASSERT_EQ(slots.size(), static_cast<std::size_t>(edges[0]));
    const SlotPasses per_slot = slot_passes(job);
    for (std::size_t k = 0; k < slots.size(); ++k) {
        const auto& passes = slots[k];
        ASSERT_EQ(passes.size(), per_slot.passes);
        EXPECT_TRUE(test::near(passes.front(), edges[1 + 3 * k], 1e-6));
        EXPECT_TRUE(test::near(passes.back() + job.width_of_saw, edges[2 + 3 * k], 1e-6));
        for (std::size_t p = 1; p < passes.size(); ++p) {
            // Within the pass tolerance a step may exceed the blade by a thousandth of it.
            EXPECT_LE(passes[p] - passes[p - 1], job.width_of_saw * 1.001 + 1e-6);
        }
    }
}

TEST(FingerJointProgram, PassesCoverExactlyTheSlotsOfTheToothFile) {
    std::mt19937 random(20261210);
    auto pick = [&](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(random);
    };
    for (int i = 0; i < 300; ++i) {
        FieldValues fields(main_window_components());
        const double saw = pick(0.5, 6);
        fields.set_text("saw_width", format_shortest(saw));
        fields.set_text("cut_width", format_shortest(saw * pick(1, 6)));
        fields.set_text("Pin_width", format_shortest(pick(0.5, 20)));
        fields.set_text("no_cuts", std::to_string(1 + i % 5));
        fields.set_text("cut_depth", format_shortest(pick(1, 30)));
        fields.set_text("jobheight", format_shortest(pick(1, 30)));
        fields.set_text("start_x", format_shortest(pick(-50, 50)));
        fields.set_text("start_y", format_shortest(pick(-50, 50)));
        fields.set_text("start_z", format_shortest(pick(-10, 10)));
        SCOPED_TRACE(i);
        check_geometry(fields);
    }
}

struct WriteMot : ::testing::Test {
    test::TempHome home;
    FieldValues fields{main_window_components()};
    test::ScriptedOperator op;
    TfastRec fast_record;
    std::filesystem::path file = home.dir() / "Documents" / "Karvik.ngc";

    JobContext context;

    std::optional<std::string> run() {
        return write_motClick(fields, op, fast_record, {home.dir() / "Documents"}, context);
    }
};

TEST_F(WriteMot, WritesTheWholeProgram) {
    fields.set_text("mot_name", "Zwaluw");
    const auto written = run();
    ASSERT_TRUE(written);
    EXPECT_EQ(*written, (home.dir() / "Documents" / "Zwaluw.ngc").string());
    const std::string text = read_file(*written).value();
    const auto lines = split_lines(text);
    ASSERT_EQ(lines.size(), 46u);
    EXPECT_EQ(lines[0], "(GCODE created by Ostrivane, https://ostrivane.org)");
    EXPECT_EQ(lines[7], "G00 X0.00000000 Y0.0 Z0.0 F270");
    EXPECT_EQ(lines[41], "G00 X3.20000000 Y0.0 Z0.0 F270");
    EXPECT_EQ(lines[42], "G00 F270");
    EXPECT_EQ(lines[45], "M2");
    EXPECT_EQ(op.messages, std::vector<std::string>{*written + " is created."});
    EXPECT_EQ(fast_record.width_of_saw, 3.2);
}

TEST_F(WriteMot, RefusedOrUnreadableParametersWriteNoFile) {
    fields.set_text("saw_width", "12");
    EXPECT_FALSE(run());
    EXPECT_EQ(op.messages,
              std::vector<std::string>{"Saw width 12.00 is bigger than cut width 10.00"});
    fields.set_text("saw_width", "3,2");
    EXPECT_THROW(run(), Error);
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(WriteMot, RefusesJointsOutOfAllProportion) {
    fields.set_text("cut_width", "1e300");
    fields.set_text("saw_width", "0.001");
    try {
        run();
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(),
                     "The finger joint needs 2E303 saw passes; a program can hold at most "
                     "10000000.");
    }
    // Up to the bound the program is written.
    fields.set_text("cut_width", "3.2");
    fields.set_text("saw_width", "3.2");
    fields.set_text("no_cuts", "10000001");
    EXPECT_THROW(run(), Error);
    EXPECT_FALSE(std::filesystem::exists(file));
    fields.set_text("no_cuts", "3");
    EXPECT_TRUE(run());
}

TEST_F(WriteMot, ABadSettingRefusesTheJobBeforeItsFileExists) {
    fields.set_text("finemillfeed", "fast");
    try {
        run();
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(),
                     "fast inside Fine milling feedrate (mm/sec.) is not a valid floating point "
                     "number.");
    }
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_TRUE(op.messages.empty());
}

TEST_F(WriteMot, TapCountsTheSummaryOfTheFileAsItIsWritten) {
    fields.set_text("no_cuts", "700");
    fields.set_text("GcodeFolder", home.dir().path().string());
    ProgramStatsSink summary;
    const auto written =
        write_motClick(fields, op, fast_record, {home.dir() / "Documents"}, context, &summary);
    ASSERT_TRUE(written);
    EXPECT_EQ(summary.summary(), stats_summary(program_stats_of_file(*written)));
    EXPECT_EQ(summary.counter().stats().lines, 7u + 3 + 700 * 16 + 4);
}

// Cancels at its `cancel_at`-th look, and keeps what the job reported.
class CancellingContext final : public JobContext {
  public:
    explicit CancellingContext(int cancel_at) : cancel_at_(cancel_at) {}
    void pump() override { ++pumps; }
    bool cancelled() const override { return pumps >= cancel_at_; }
    void progress(double done, double total) override { reported.emplace_back(done, total); }

    int pumps = 0;
    std::vector<std::pair<double, double>> reported;

  private:
    int cancel_at_;
};

TEST_F(WriteMot, LongJobReportsProgressAndStopsOnCancelLeavingNoFile) {
    fields.set_text("no_cuts", "3000");  // 12,000 passes, 48,000 lines
    CancellingContext never(1000);
    ASSERT_TRUE(write_motClick(fields, op, fast_record, {home.dir() / "Documents"}, never));
    ASSERT_EQ(never.pumps, 11);  // every 1024 passes
    for (std::size_t i = 0; i < never.reported.size(); ++i)
        EXPECT_EQ(never.reported[i], std::make_pair(1024.0 * static_cast<double>(i + 1), 12000.0));

    for (const bool staged : {false, true}) {
        write_file_atomically(file, "the last program");
        op.messages.clear();
        CancellingContext cancel(3);
        try {
            write_motClick(fields, op, fast_record,
                           {home.dir() / "Documents", std::nullopt, staged}, cancel);
            FAIL() << "not cancelled";
        } catch (const JobCancelled& e) {
            EXPECT_EQ(std::string(e.what()), file.string() + " cancelled, no file written");
        }
        EXPECT_EQ(cancel.pumps, 3);
        EXPECT_TRUE(op.messages.empty());
        // Nothing of the cancelled job is left, and the last program is still there.
        EXPECT_EQ(read_file(file), "the last program") << staged;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home.dir() / "Documents"),
                                std::filesystem::directory_iterator()),
                  1);
    }
}

}  // namespace
}  // namespace ostrivane
