#include "core/check/job_check.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "core/app/field_values.h"
#include "core/app/main_window_fields.h"
#include "core/fingerjoint/finger_joint_program.h"
#include "core/text/file_io.h"
#include "support/scripted_operator.h"
#include "support/temp_dir.h"

namespace ostrivane {
namespace {

// The finger joint of the default fields, written as "Write GCODE file" writes it, and what
// the operator is told after it.
struct Announced {
    Announced() {
        OutputDestination where{dir.path()};
        where.exact_file = program;
        JobContext context;
        TfastRec rec;
        EXPECT_TRUE(write_motClick(fields, op, rec, where, context));
        op.messages.clear();
    }
    std::string announce() {
        return announce_job_check(
            program, fields, {}, dir.path(), op,
            [this](std::string_view text, bool critical) { logged.emplace_back(text, critical); });
    }
    void edit(const std::string& from, const std::string& to) {
        std::string text = read_file_limited(program, 1 << 20, "a program");
        const auto at = text.find(from);
        ASSERT_NE(at, std::string::npos);
        text.replace(at, from.size(), to);
        write_file_atomically(program, text);
    }

    test::TempDir dir;
    std::filesystem::path program = dir.path() / "joint.ngc";
    FieldValues fields{main_window_components()};
    test::ScriptedOperator op;
    std::vector<std::pair<std::string, bool>> logged;
};

TEST(JobCheck, AProgramWithinTheDesignIsToldItsRunTimeQuietly) {
    Announced a;
    const std::string told = a.announce();
    EXPECT_EQ(told.rfind("Check of joint.ngc: Run time 0:", 0), 0u) << told;
    EXPECT_NE(told.find("keeps within 0.050 mm"), std::string::npos) << told;
    ASSERT_EQ(a.logged.size(), 1u);
    EXPECT_EQ(a.logged[0], std::make_pair(told, false));
    EXPECT_TRUE(a.op.messages.empty());
}

TEST(JobCheck, AnOvercutIsAWarningTheOperatorMustClose) {
    Announced a;
    // One pass of a slot edited 1 mm deeper, and back out as far.
    a.edit("G01 X0.0 Y10.00000000 Z0.0 F270", "G01 X0.0 Y11.00000000 Z0.0 F270");
    a.edit("G00 X0.0 Y-10.00000000", "G00 X0.0 Y-11.00000000");
    const std::string told = a.announce();
    EXPECT_NE(told.find("WARNING: the program cuts 1"), std::string::npos) << told;
    ASSERT_EQ(a.logged.size(), 1u);
    EXPECT_EQ(a.logged[0], std::make_pair(told, true));
    EXPECT_EQ(a.op.errors, std::vector<std::string>{told});
}

TEST(JobCheck, WhatStopsTheCheckIsToldNeverThrown) {
    Announced a;
    a.edit("G01 X0.0 Y10.00000000 Z0.0 F270", "G02 X1 Y1 I1");
    std::string told;
    EXPECT_NO_THROW(told = a.announce());
    EXPECT_EQ(told.rfind("Check of joint.ngc failed: ", 0), 0u) << told;
    EXPECT_NE(told.find("Line "), std::string::npos) << told;
    EXPECT_TRUE(a.op.errors.empty());

    std::filesystem::remove(a.program);
    EXPECT_NO_THROW(told = a.announce());
    EXPECT_EQ(told.rfind("Check of joint.ngc failed: ", 0), 0u) << told;
}

}  // namespace
}  // namespace ostrivane
