#include "core/check/cut_check.h"

#include <gtest/gtest.h>

#include <cmath>

#include "../toolpath/toolpath_fixture.h"
#include "core/check/check_report.h"
#include "core/fingerjoint/finger_joint_program.h"
#include "core/gcode/gcode_program.h"
#include "core/text/number_format.h"
#include "support/scripted_operator.h"

namespace ostrivane {
namespace {

const char* const kTurningHeader =
    "(GCODE created by Ostrivane)\nG21\nG28.1\nG17 G91\nG43H1\nT1M06\nS12000 M03\n";
const char* const kFooter = "G00 F270\nG28 Y0.0\nG28\nM2\n";

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines)
        text += l + "\n";
    return text;
}

// A profile with two beads (low points of y, where the work stays thickest), turned rough (and
// fine over its whole length when asked).
struct TurningCase : test::EngineFixture {
    explicit TurningCase(bool fine = false, bool rough = true) {
        job(4.5, 100, fine);
        engine->job.rough = rough;
        profile({{0, 10}, {10, 14}, {20, 11}, {30, 15}, {40, 12}});
        if (fine)
            engine->profile.save_part(engine->profile.XminX, engine->profile.XmaxX);
    }
    std::vector<std::string> body() {
        EXPECT_FALSE(calculate());
        return lines();
    }
    CheckReport check(const std::vector<std::string>& body_lines) {
        CheckInputs in;
        in.settings = read_machine_settings(fields);
        TurningDesign design(*engine, {});
        in.turning = &design;
        return check_program_text(kTurningHeader + joined(body_lines) + kFooter, in);
    }
};

TEST(CutCheck, RoughTurningKeepsToTheProfile) {
    TurningCase f;
    const CheckReport r = f.check(f.body());
    EXPECT_EQ(r.kind, ProgramKind::turning);
    // The rough pass sets each plunge from samples of the profile; read on the curve itself, a
    // plunge may stand a few micrometres above its lowest point, far within the tolerance.
    EXPECT_LE(r.overcut.max_mm, 0.01);
    ASSERT_TRUE(r.left.at_x);
    EXPECT_GT(r.left.max_mm, 0.1);  // a stepped surface
    ASSERT_EQ(r.passes.size(), 1u);
    EXPECT_EQ(r.passes[0].pass, PassKind::rough);
    EXPECT_FALSE(r.interference);
    EXPECT_EQ(check_exit_code(r), 0);
    EXPECT_GT(r.run_time_s, 0);
    // Sampled every 0.1 mm over the profile.
    ASSERT_GT(r.envelope.size(), 300u);
    EXPECT_DOUBLE_EQ(r.envelope.front().x, f.engine->profile.XminX);
    EXPECT_NEAR(r.envelope[1].x - r.envelope[0].x, 0.1, 1e-12);
}

TEST(CutCheck, FastRoughAndFinePassesAreToldApart) {
    TurningCase f(true);
    GcodeWriter writer(read_machine_settings(f.fields), f.out);
    MoveStream head(writer);
    ASSERT_FALSE(failed(f.engine->CalcSpline(head, true, false)));
    const CheckReport r = f.check(f.lines());
    ASSERT_EQ(r.passes.size(), 2u);
    EXPECT_EQ(r.passes[0].pass, PassKind::fast_rough);
    EXPECT_EQ(r.passes[1].pass, PassKind::fine);
}

// Over the crown of a bead the fine pass holds the saw down to the bead's lowest point under
// the blade rather than the lower of the profile under its two edges, so the check finds no
// overcut beyond the tolerance there (the old rule cut into it).
TEST(CutCheck, FinePassKeepsOffTheCrownOfABead) {
    TurningCase f(true, false);
    const CheckReport r = f.check(f.body());
    ASSERT_EQ(r.passes.size(), 1u);
    EXPECT_EQ(r.passes[0].pass, PassKind::fine);
    EXPECT_LE(r.overcut.max_mm, r.tolerance);
    EXPECT_EQ(check_exit_code(r), 0);
}

TEST(CutCheck, AHandEditedDeeperPlungeIsCaughtWhereItIs) {
    TurningCase f;
    std::vector<std::string> body = f.body();
    const auto positions = test::trace(body);
    const auto plunges = test::plunges(positions);
    ASSERT_GE(plunges.size(), 6u);
    const test::Plunge target = plunges[plunges.size() / 2];
    // The plunge's line: Y out of home to its height.
    std::size_t edited = 0;
    for (std::size_t k = 1; k < positions.size(); ++k) {
        if (positions[k - 1].y == 0 && positions[k].y == target.y && positions[k].x == target.x)
            edited = k;
    }
    ASSERT_NE(edited, 0u);
    body[edited] = "G00 X0.0 Y" + format_fixed(target.y + 1, 8) + " Z0.0 F270";
    const CheckReport r = f.check(body);
    EXPECT_EQ(check_exit_code(r), kCheckCutsIntoDesign);
    ASSERT_TRUE(r.overcut.at_x);
    EXPECT_GT(r.overcut.max_mm, 0.95);
    EXPECT_LE(r.overcut.max_mm, 1 + 1e-6);
    EXPECT_GE(*r.overcut.at_x, target.x - 1e-6);
    EXPECT_LE(*r.overcut.at_x, target.x + 4.5 + 1e-6);
}

TEST(CutCheck, SawOutlineReachingIntoTheBeamIsCaught) {
    // Beam 100 thick about the axis at 100: the work lies above y = 50. A guard left of the
    // blade reaching 30 above the saw top stays clear of it; one reaching 45 above meets it at
    // the first plunge beyond the guard's width.
    for (const double reach : {30.0, 45.0}) {
        SCOPED_TRACE(reach);
        TurningCase f;
        f.engine->count_saw_rec = 1;
        f.engine->saw_rec[1] = {-12, 0, -2, reach};
        const std::vector<std::string> body = f.body();
        const CheckReport r = f.check(body);
        if (reach < 40) {
            EXPECT_FALSE(r.interference);
            continue;
        }
        ASSERT_TRUE(r.interference);
        EXPECT_EQ(check_exit_code(r), kCheckCutsIntoDesign);
        const std::string& line = body[r.interference->line - 8];  // 7 header lines
        EXPECT_EQ(line.rfind("G00 X0.0 Y", 0), 0u) << line;
        EXPECT_GT(r.interference->y + reach, 50);
        EXPECT_GE(r.interference->x - 2, f.engine->profile.XminX);
    }
}

TEST(CutCheck, SlotsOfAToothFileDeepenTheDesign) {
    TurningCase f;
    const std::string tnd = f.tooth_file("1\r\n12\r\n20\r\n1.5\r\n");
    f.job(4.5, 100, false, 1, 3.2, tnd);
    const std::vector<std::string> body = f.body();
    CheckInputs in;
    in.settings = read_machine_settings(f.fields);
    TurningDesign design(*f.engine, turning_slots(*f.engine, "1\n12\n20\n1.5\n", "job.tnd"));
    in.turning = &design;
    const CheckReport r = check_program_text(kTurningHeader + joined(body) + kFooter, in);
    EXPECT_LE(r.overcut.max_mm, 0.01);
    ASSERT_EQ(r.slots.size(), 1u);
    ASSERT_TRUE(r.slots[0].cut);
    EXPECT_EQ(r.slots[0].expected, (DesignSlot{12, 20, 1.5}));
    // Where the saw top touches the profile, it is the slot's depth deeper.
    EXPECT_NEAR(r.slots[0].cut->depth, 1.5, 0.01);

    // Checked against the profile alone, the slot is an overcut of its depth.
    TurningDesign plain(*f.engine, {});
    in.turning = &plain;
    const CheckReport without = check_program_text(kTurningHeader + joined(body) + kFooter, in);
    EXPECT_NEAR(without.overcut.max_mm, 1.5, 0.3);
    ASSERT_TRUE(without.overcut.at_x);
    EXPECT_GE(*without.overcut.at_x, 12);
    EXPECT_LE(*without.overcut.at_x, 20);
}

struct JointCase {
    JointCase() {
        OutputDestination where{dir.path()};
        where.exact_file = dir.path() / "joint.ngc";
        JobContext context;
        TfastRec rec;
        EXPECT_TRUE(write_motClick(fields, op, rec, where, context, &out));
        job = rec;
    }
    CheckReport check(const std::string& program) const {
        CheckInputs in;
        in.settings = read_machine_settings(fields);
        const JointDesign design = joint_design_of_fields(job);
        in.joint = &design;
        return check_program_text(program, in);
    }
    test::TempDir dir;
    FieldValues fields{main_window_components()};
    test::ScriptedOperator op;
    StringSink out;
    TfastRec job;
};

TEST(CutCheck, FingerJointSlotsMatchTheFields) {
    JointCase f;
    const CheckReport r = f.check(f.out.text());
    EXPECT_EQ(r.kind, ProgramKind::finger_joint);
    EXPECT_EQ(check_exit_code(r), 0);
    EXPECT_LE(r.overcut.max_mm, 1e-6);
    EXPECT_LE(r.left.max_mm, 1e-6);
    ASSERT_EQ(r.slots.size(), 2u);
    for (std::size_t k = 0; k < 2; ++k) {
        ASSERT_TRUE(r.slots[k].cut);
        ASSERT_TRUE(r.slots[k].expected);
        EXPECT_NEAR(r.slots[k].cut->left, r.slots[k].expected->left, 1e-6);
        EXPECT_NEAR(r.slots[k].cut->right, r.slots[k].expected->right, 1e-6);
        EXPECT_NEAR(r.slots[k].cut->depth, 10, 1e-6);
    }
    EXPECT_NEAR(r.slots[1].expected->left, 20, 1e-9);

    // One pass of the second slot edited 1 mm deeper.
    std::string edited = f.out.text();
    const std::string into = "G01 X0.0 Y10.00000000 Z0.0 F270";
    std::size_t at = 0;
    for (int k = 0; k < 6; ++k)
        at = edited.find(into, at + 1);
    ASSERT_NE(at, std::string::npos);
    edited.replace(at, into.size(), "G01 X0.0 Y11.00000000 Z0.0 F270");
    edited.replace(edited.find("G00 X0.0 Y-10.00000000", at), 22, "G00 X0.0 Y-11.00000000");
    const CheckReport deeper = f.check(edited);
    EXPECT_EQ(check_exit_code(deeper), kCheckCutsIntoDesign);
    EXPECT_NEAR(deeper.overcut.max_mm, 1, 1e-6);
    EXPECT_GE(*deeper.overcut.at_x, 20 - 1e-6);
    EXPECT_LE(*deeper.overcut.at_x, 30 + 1e-6);
}

// The window shows the report as lines: one per slot, the same words as the paragraph.
TEST(CutCheck, TheReportAsLinesSaysTheParagraphsWords) {
    JointCase f;
    const CheckReport joint = f.check(f.out.text());
    const std::vector<std::string> lines = check_report_lines(joint, "joint.ngc");
    ASSERT_EQ(lines.size(), joint.slots.size() + 3);
    // A joint cut as designed reads so, without a "largest" of nothing.
    EXPECT_NE(lines[0].find(" No overcut; no material left."), std::string::npos) << lines[0];
    EXPECT_EQ(lines[1], "Slots:");
    EXPECT_EQ(lines[2].back(), ';');
    EXPECT_EQ(lines[3].back(), '.');
    EXPECT_EQ(lines[4].rfind("Verdict: ", 0), 0u);
    TurningCase turning;
    const CheckReport plain = turning.check(turning.body());
    for (const CheckReport* r : {&joint, &plain}) {
        std::string words;
        for (const std::string& line : check_report_lines(*r, "joint.ngc"))
            words += (words.empty() ? "" : " ") + line;
        EXPECT_EQ(words, check_paragraph(*r, "joint.ngc"));
    }
}

}  // namespace
}  // namespace ostrivane
