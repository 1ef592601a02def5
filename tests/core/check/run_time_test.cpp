#include "core/check/run_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "core/app/field_values.h"
#include "core/app/main_window_fields.h"
#include "core/check/cut_check.h"
#include "core/check/program_stats.h"
#include "support/error_of.h"
#include "support/near.h"

namespace ostrivane {
namespace {

constexpr const char* kMachine =
    "[TRAJ]\n"
    "COORDINATES = X Y Z\n"
    "LINEAR_UNITS = mm\n"
    "MAX_LINEAR_VELOCITY = 100\n"
    "[AXIS_X]\n"
    "MAX_VELOCITY = 50   # mm/s\n"
    "MAX_ACCELERATION = 100\n"
    "[JOINT_1]\n"
    "MAX_VELOCITY = 20\n"
    "MAX_ACCELERATION = 50\n"
    "[AXIS_Y]\n"
    "MAX_VELOCITY = 30\n"
    "[EMCMOT]\n"
    "SERVO_PERIOD = 500000\n";

TEST(MachineLimits, ReadsAxesJointsThePathLimitAndTheServoPeriod) {
    const MachineLimits l = read_linuxcnc_limits(kMachine, "mill.ini");
    EXPECT_EQ(l.velocity_of('X'), 50);
    EXPECT_EQ(l.acceleration_of('X'), 100);
    // Joint 1 drives Y; of the joint's and the axis's speed the lower one holds.
    EXPECT_EQ(l.velocity_of('Y'), 20);
    EXPECT_EQ(l.acceleration_of('Y'), 50);
    EXPECT_EQ(l.velocity_of('Z'), kDefaultMaxVelocity);
    EXPECT_EQ(l.acceleration_of('Z'), kDefaultMaxAcceleration);
    EXPECT_EQ(l.max_linear_velocity, 100);
    EXPECT_DOUBLE_EQ(l.servo_period_s, 0.0005);
    EXPECT_FALSE(l.defaults);

    // Inches convert on the linear axes only; a rotary axis keeps its degrees.
    const MachineLimits inch = read_linuxcnc_limits(
        "[TRAJ]\nLINEAR_UNITS = inch\n[AXIS_Z]\nMAX_VELOCITY=2\n[AXIS_A]\nMAX_VELOCITY=90\n",
        "in.ini");
    EXPECT_DOUBLE_EQ(inch.velocity_of('Z'), 50.8);
    EXPECT_DOUBLE_EQ(inch.velocity_of('A'), 90);
}

// A turning axis written as A (or B, C) is timed with that section's figures, by axis or joint.
TEST(MachineLimits, RotarySectionsTimeTheTurningAxisUnderTheirLetter) {
    const MachineLimits axis = read_linuxcnc_limits(
        "[AXIS_A]\nMAX_VELOCITY = 90\nMAX_ACCELERATION = 360\n[AXIS_W]\nMAX_VELOCITY = 5\n", "a");
    EXPECT_EQ(axis.velocity_of('A'), 90);
    EXPECT_EQ(axis.acceleration_of('A'), 360);
    EXPECT_EQ(axis.velocity_of('W'), 5);
    const MachineLimits joint =
        read_linuxcnc_limits("[TRAJ]\nCOORDINATES = X Y Z C\n[JOINT_3]\nMAX_VELOCITY = 60\n", "c");
    EXPECT_EQ(joint.velocity_of('C'), 60);

    FieldValues fields{main_window_components()};
    fields.assign("GCodeW", "A");
    CheckInputs inputs;
    inputs.settings = read_machine_settings(fields);
    inputs.limits = axis;
    const CheckReport r = check_program_text("G91 G61\nG00 X0.0 Y0.0 Z0.0 A90\nM2\n", inputs);
    // 90 degrees at 90 deg/s and 360 deg/s^2: 1 s plus 0.25 s to start and stop.
    EXPECT_TRUE(test::near(r.run_time_s, 1.25 + 0.001 + kStartAndEndSeconds, 1e-9));
    EXPECT_NE(r.time_model.find("A 90 deg/s 360 deg/s^2"), std::string::npos) << r.time_model;
}

// Faults of a machine file give one short, printable sentence naming the line.
TEST(MachineLimits, RefusesWhatItCannotReadInAShortMessage) {
    const std::string huge(1 << 20, '7');
    const struct {
        std::string ini;
        const char* message;
    } cases[] = {
        {"[AXIS_X]\nMAX_VELOCITY = fast\n",
         "Line 2 of m: MAX_VELOCITY must be a number from 0.001 to 10000000, not fast"},
        {"[AXIS_X]\nMAX_ACCELERATION = 1e-320\n",
         "Line 2 of m: MAX_ACCELERATION must be a number from 0.001 to 10000000, not 1e-320"},
        {"[AXIS_X]\nMAX_VELOCITY = 1e308\n",
         "Line 2 of m: MAX_VELOCITY must be a number from 0.001 to 10000000, not 1e308"},
        {"[AXIS_X\nMAX_VELOCITY = 5\n", "Line 1 of m a section header without its \"]\": [AXIS_X"},
        {"#INCLUDE axes.inc\n",
         "Line 1 of m includes another file, which this program does not follow: #INCLUDE "
         "axes.inc"},
        {std::string("[AXIS_Y]\nMAX_VELOCITY = 5\0 and more\n", 36),
         "Line 2 of m: MAX_VELOCITY must be a number from 0.001 to 10000000, not 5\\x00 and more"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(test::error_of([&] { read_linuxcnc_limits(c.ini, "m"); }), c.message);
    const std::string message =
        test::error_of([&] { read_linuxcnc_limits("[AXIS_Z]\nMAX_VELOCITY = " + huge, "m"); });
    EXPECT_LT(message.size(), 200u);
    EXPECT_EQ(message.rfind("Line 2 of m: MAX_VELOCITY must be a number", 0), 0u) << message;
}

double run_time(std::string_view program, const MachineLimits& limits = default_machine_limits()) {
    return program_stats(program, limits).run_time_s;
}

// A move of `length` at top speed v and acceleration a, entered at vi and left at vo.
double trapezoid(double length, double v, double a, double vi, double vo) {
    const double ramps = (v * v - vi * vi) / (2 * a) + (v * v - vo * vo) / (2 * a);
    return (v - vi) / a + (v - vo) / a + (length - ramps) / v;
}

constexpr double kCycle = 0.001;  // the default servo period
constexpr double kOverhead = kStartAndEndSeconds;

// Worked out by hand with the default limits, 25 mm/s and 200 mm/s^2 on every axis.
TEST(RunTime, ExactStopAsWorkedOutByHand) {
    // Alone, a move accelerates at the full limit: 10 mm at 10 mm/s.
    EXPECT_TRUE(test::near(run_time("G91 G61\nG01 X10 F600\nM2\n"),
                           trapezoid(10, 10, 200, 0, 0) + kCycle + kOverhead, 1e-9));
    // Beside a move of its own type, at 0.9 of it; a rapid between two feed moves leaves
    // them alone. A rapid runs at what the axes allow.
    EXPECT_TRUE(test::near(run_time("G91 G61\nG01 X10 F600\nG01 Y10\nM2\n"),
                           2 * trapezoid(10, 10, 180, 0, 0) + 2 * kCycle + kOverhead, 1e-9));
    EXPECT_TRUE(test::near(
        run_time("G91 G61\nG01 X10 F600\nG00 Y10\nG01 X10\nM2\n"),
        2 * trapezoid(10, 10, 200, 0, 0) + trapezoid(10, 25, 200, 0, 0) + 3 * kCycle + kOverhead,
        1e-9));
    // A dwell adds its time and a few cycles; a diagonal is limited along its direction.
    // 3-4-5: Y has 0.8 of the path, so 31.25 mm/s and 250 mm/s^2 along it.
    const double diagonal = trapezoid(5, 31.25, 250, 0, 0);
    EXPECT_TRUE(test::near(run_time("G91 G61\nG4 P0.5\nG00 X3 Y4\nM2\n"),
                           0.5 + kCyclesAtDwell * kCycle + diagonal + kCycle + kOverhead, 1e-9));
}

// Two feed moves at a right angle, blended, then a dwell.
TEST(RunTime, BlendsCornersWithinTheTolerance) {
    const double normal = std::sqrt(0.75) * 200;
    const double half = std::numbers::pi / 4;
    const auto corner = [&](double radius) {
        const double speed = std::min(10.0, std::sqrt(normal * radius));
        // The arc cuts `radius` off both moves (a right angle) and runs at its speed; the move
        // before the dwell keeps half its acceleration.
        return trapezoid(10 - radius, 10, 200, 0, speed) + radius * half * 2 / speed +
               trapezoid(10 - radius, 10, 100, speed, 0) + kCycle + kCyclesAtDwell * kCycle +
               kOverhead;
    };
    const char* body = "G01 X10 F600\nG01 Y10\nG4 P0.00\nM2\n";
    // The start-up mode keeps within 0.0254 mm of the corner.
    const double startup = kStartupBlendTolerance / (1 / std::sin(half) - 1);
    EXPECT_TRUE(test::near(run_time(std::string("G91\n") + body), corner(startup), 1e-9));
    // G64 takes the smallest arc that keeps the feed; G64 P the tolerance again.
    EXPECT_TRUE(test::near(run_time(std::string("G91 G64\n") + body), corner(100 / normal), 1e-9));
    EXPECT_TRUE(test::near(run_time(std::string("G91 G64 P0.01\n") + body),
                           corner(0.01 / (1 / std::sin(half) - 1)), 1e-9));
}

// Moves in line pass on at full speed, however many there are: the time is that of one move,
// whatever the windows the model settles them in.
TEST(RunTime, ManyMovesInLineTakeAsLongAsOne) {
    std::string many = "G91 G64\n";
    for (int k = 0; k < 5000; ++k)
        many += "G01 X0.002 F600\n";
    // The last move keeps half the acceleration before the end, however it is split.
    EXPECT_TRUE(test::near(run_time(many + "M2\n"),
                           run_time("G91 G64\nG01 X9.998 F600\nG01 X0.002\nM2\n"), 1e-6));
}

// Label and sentence say which model and path mode a figure comes from.
TEST(RunTime, NamesTheModelAndThePathMode) {
    const struct {
        const char* program;
        const char* label;
    } cases[] = {
        {"G91 G61\nG01 X1 F60\n", "LinuxCNC planner model, exact stop G61"},
        {"G91\nG01 X1 F60\n", "LinuxCNC planner model, start-up path mode"},
        {"G91 G64\nG01 X1 F60\n", "LinuxCNC planner model, blending G64"},
        {"G91\nG01 X1 F60\nG61\nG01 X1\n",
         "LinuxCNC planner model, path modes as the program sets them"},
    };
    for (const auto& c : cases) {
        const ProgramStats s = program_stats(c.program);
        EXPECT_EQ(s.time_model, std::string(c.label) + "; default limits") << c.program;
    }
    FieldValues fields{main_window_components()};
    CheckInputs inputs;
    inputs.settings = read_machine_settings(fields);
    inputs.limits = read_linuxcnc_limits(kMachine, "mill.ini");
    const CheckReport r = check_program_text("G91\nG01 X1 Y0 Z0 F60\nM2\n", inputs);
    EXPECT_EQ(r.time_label, "LinuxCNC planner model, start-up path mode; limits of mill.ini");
    EXPECT_NE(r.time_model.find("start-up path mode"), std::string::npos) << r.time_model;
    EXPECT_NE(r.time_model.find("mill.ini: X 50 mm/s 100 mm/s^2"), std::string::npos);
    EXPECT_EQ(r.time_model.find("upper bound"), std::string::npos);
}

}  // namespace
}  // namespace ostrivane
