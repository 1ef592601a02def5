#include "core/check/run_time.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/app/field_values.h"
#include "core/app/main_window_fields.h"
#include "core/check/cut_check.h"
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
    "MAX_VELOCITY = 30\n";

TEST(MachineLimits, ReadsAxesJointsAndThePathLimit) {
    const MachineLimits l = read_linuxcnc_limits(kMachine, "mill.ini");
    EXPECT_EQ(l.max_velocity[0], 50);
    EXPECT_EQ(l.max_acceleration[0], 100);
    // Joint 1 drives Y; of the joint's and the axis's speed the lower one holds.
    EXPECT_EQ(l.max_velocity[1], 20);
    EXPECT_EQ(l.max_acceleration[1], 50);
    EXPECT_EQ(l.max_velocity[2], kDefaultMaxVelocity);
    EXPECT_EQ(l.max_acceleration[2], kDefaultMaxAcceleration);
    EXPECT_EQ(l.max_linear_velocity, 100);

    const MachineLimits inch =
        read_linuxcnc_limits("[TRAJ]\nLINEAR_UNITS = inch\n[AXIS_Z]\nMAX_VELOCITY=2\n", "in.ini");
    EXPECT_DOUBLE_EQ(inch.max_velocity[2], 50.8);
    EXPECT_EQ(test::error_of([] { read_linuxcnc_limits("[AXIS_X]\nMAX_VELOCITY = fast\n", "m"); }),
              "Line 2 of m: MAX_VELOCITY must be a positive number, not fast");
}

// Each move worked out by hand with the limits above (exact stop, from rest to rest).
TEST(RunTime, ShortProgramAsWorkedOutByHand) {
    FieldValues fields{main_window_components()};
    CheckInputs inputs;
    inputs.settings = read_machine_settings(fields);
    inputs.limits = read_linuxcnc_limits(kMachine, "mill.ini");
    const CheckReport r = check_program_text(
        "G21\nG28.1\nG17 G91\n"
        "G01 X10.00000000 Y0.0 Z0.0 F600\n"  // 10 mm/s, reached after 0.5 mm: 1 + 0.1 s
        "G00 X0.0 Y5.00000000 Z0.0 F270\n"   // rapid, Y at 20 mm/s needs 8 mm: a triangle
        "G4 P0.50\n"
        "G00 F270\nG28 Y0.0\n"  // 5 mm back home: the same triangle
        "G01 X3 Y4 Z0 F6000\n"  // along (0.6, 0.8): Y limits to 25 mm/s, 62.5 mm/s^2
        "G28\n"                 // X 13, Y 4 home: X limits 50/(13/L), Y 20/(4/L)
        "M2\n",
        inputs);
    const double triangle_y5 = 2 * std::sqrt(5 / 50.0);
    const double diagonal = 2 * std::sqrt(5 / 62.5);
    // Back home: length L = sqrt(13^2 + 4^2); speed min(50 L/13, 20 L/4, 100) = 50 L/13 and
    // acceleration min(100 L/13, 50 L/4) = 100 L/13; the top speed needs v^2/a = 25 L/13 > L.
    const double L = std::sqrt(13.0 * 13 + 4 * 4);
    const double home = 2 * std::sqrt(L / (100 * L / 13));
    EXPECT_TRUE(
        test::near(r.run_time_s, 1.1 + triangle_y5 + 0.5 + triangle_y5 + diagonal + home, 1e-9));
    EXPECT_EQ(r.moves, 5u);
    EXPECT_EQ(r.lines, 11u);
    EXPECT_NE(r.time_model.find("upper bound"), std::string::npos);
    EXPECT_NE(r.time_model.find("mill.ini"), std::string::npos);
}

TEST(RunTime, FormatsHoursMinutesSeconds) {
    EXPECT_EQ(format_hms(0), "0:00:00");
    EXPECT_EQ(format_hms(59.5), "0:01:00");
    EXPECT_EQ(format_hms(3725.4), "1:02:05");
    EXPECT_EQ(format_hms(36000), "10:00:00");
}

}  // namespace
}  // namespace ostrivane
