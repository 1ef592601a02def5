#include <gtest/gtest.h>

#include "core/app/field_values.h"
#include "core/app/main_window_fields.h"
#include "core/fingerjoint/fast_rec.h"
#include "support/scripted_operator.h"
#include "core/text/error.h"

namespace ostrivane {
namespace {

TEST(Getdata, ReadsEveryFieldIntoTheRecord) {
    FieldValues fields(main_window_components());
    const std::pair<const char*, const char*> settings[] = {
        {"start_x", "1.5"}, {"start_y", "-2"},   {"start_z", "3"},
        {"jobheight", "4"}, {"cut_width", "12"}, {"cut_depth", "6"},
        {"Pin_width", "7"}, {"saw_width", "8"},  {"no_cuts", "9"},
    };
    for (const auto& [name, text] : settings)
        fields.set_text(name, text);
    test::ScriptedOperator op;
    TfastRec r;
    r.job_distance = 0.5;  // no field sets it
    ASSERT_TRUE(Getdata(fields, op, r));
    EXPECT_EQ(r.start_positionX, 1.5);
    EXPECT_EQ(r.start_positionY, -2);
    EXPECT_EQ(r.start_positionZ, 3);
    EXPECT_EQ(r.job_height, 4);
    EXPECT_EQ(r.width_of_cut, 12);
    EXPECT_EQ(r.depth_cut, 6);
    EXPECT_EQ(r.width_of_pin, 7);
    EXPECT_EQ(r.width_of_saw, 8);
    EXPECT_EQ(r.number_of_cuts, 9);
    EXPECT_EQ(r.job_distance, 0.5);
    EXPECT_TRUE(op.messages.empty());
}

TEST(Getdata, DecidesWhetherTheJobCanBeCut) {
    const char* const zero = "Please do not enter numbers less than or equal zero";
    struct Case {
        const char *saw, *cut, *pin, *cuts;
        bool valid;
        const char* message;
    };
    const Case cases[] = {
        {"10", "10", "10", "2", true, ""},
        {"10.000005", "10", "10", "2", true, ""},
        {"10.0001", "10", "10", "2", false, "Saw width 10.00 is bigger than cut width 10.00"},
        {"12", "10", "10", "2", false, "Saw width 12.00 is bigger than cut width 10.00"},
        {"12", "10", "0", "0", false, "Saw width 12.00 is bigger than cut width 10.00"},
        {"3.2", "10", "0", "2", false, zero},
        {"3.2", "10", "0.000009", "2", false, zero},
        {"3.2", "10", "10", "0", false, zero},
        {"3.2", "10", "10", "-1", false, zero},
        {"0", "0", "10", "2", false, zero},
        {"-1", "10", "10", "2", false, zero},
        {"3.2", "10", "0.00001", "1", true, ""},
    };
    for (const Case& c : cases) {
        FieldValues fields(main_window_components());
        fields.set_text("saw_width", c.saw);
        fields.set_text("cut_width", c.cut);
        fields.set_text("Pin_width", c.pin);
        fields.set_text("no_cuts", c.cuts);
        // Start positions, height and depth are not range-checked.
        fields.set_text("start_z", "-4");
        fields.set_text("cut_depth", "0");
        test::ScriptedOperator op;
        TfastRec r;
        EXPECT_EQ(Getdata(fields, op, r), c.valid) << c.saw << " " << c.cut;
        const std::vector<std::string> expected =
            c.valid ? std::vector<std::string>{} : std::vector<std::string>{c.message};
        EXPECT_EQ(op.messages, expected) << c.saw << " " << c.cut;
    }
}

TEST(Getdata, FieldErrorsStopBeforeAnyBox) {
    struct Case {
        const char *field, *text, *message;
    };
    const Case cases[] = {
        {"saw_width", "3,2", "3,2 inside Saw width (mm) is not a valid floating point number."},
        {"no_cuts", "2.5", "2.5 inside Number of cuts is not a valid round number."},
        {"start_x", "", " inside Start position X (mm) is not a valid floating point number."},
    };
    for (const Case& c : cases) {
        FieldValues fields(main_window_components());
        fields.set_text("cut_width", "1");  // would be refused, were the fields read
        fields.set_text(c.field, c.text);
        test::ScriptedOperator op;
        TfastRec r;
        try {
            Getdata(fields, op, r);
            ADD_FAILURE() << "no error for " << c.field;
        } catch (const Error& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
        EXPECT_TRUE(op.messages.empty());
        // What was read before the bad field stays read.
        if (std::string(c.field) == "saw_width") {
            EXPECT_EQ(r.width_of_pin, 10);
        }
    }
}

}  // namespace
}  // namespace ostrivane
