#include "core/app/field_source.h"

#include <gtest/gtest.h>

#include "core/app/field_values.h"
#include "core/app/main_window_fields.h"
#include "core/text/error.h"
#include "support/comma_locale.h"
#include "support/error_of.h"

namespace ostrivane {
namespace {
using test::error_of;

TEST(FieldChecks, MessagesNameTheTextAndTheLabel) {
    FieldValues fields(main_window_components());
    EXPECT_EQ(validate_float(fields, "saw_width"), 3.2);
    EXPECT_EQ(validate_integer(fields, "no_cuts"), 2);

    fields.set_text("saw_width", "3,2");
    EXPECT_EQ(error_of([&] { validate_float(fields, "saw_width"); }),
              "3,2 inside Saw width (mm) is not a valid floating point number.");
    fields.set_text("saw_width", "");
    EXPECT_EQ(error_of([&] { validate_float(fields, "saw_width"); }),
              " inside Saw width (mm) is not a valid floating point number.");
    fields.set_text("no_cuts", "2.0");
    EXPECT_EQ(error_of([&] { validate_integer(fields, "no_cuts"); }),
              "2.0 inside Number of cuts is not a valid round number.");
}

TEST(FieldChecks, IndependentOfTheProcessLocale) {
    test::CommaLocale comma;
    if (!comma.active())
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    FieldValues fields(main_window_components());
    EXPECT_EQ(validate_float(fields, "Ssaw_width"), 4.5);
    fields.set_text("Ssaw_width", "4,5");
    EXPECT_THROW(validate_float(fields, "Ssaw_width"), Error);
}

TEST(FieldValuesAssign, TakesTextChecksAndLetters) {
    FieldValues fields(main_window_components());
    fields.assign("cut_width", "12.5");
    fields.assign("InvertZ", "true");
    fields.assign("GcodeX", "W");
    EXPECT_EQ(fields.text("cut_width"), "12.5");
    EXPECT_TRUE(fields.checked("InvertZ"));
    EXPECT_EQ(fields.selected("GcodeX"), 3);
    EXPECT_THROW(fields.assign("InvertZ", "yes"), Error);
    EXPECT_THROW(fields.assign("GcodeX", "Q"), Error);
    EXPECT_THROW(fields.assign("no_such_field", "1"), Error);
}

TEST(FieldValuesAssign, UnknownNameSuggestsTheClosestNames) {
    FieldValues fields(main_window_components());
    const struct {
        const char* name;
        const char* message;
    } cases[] = {
        {"sawwidth",
         "Unknown field: sawwidth (the closest names are saw_width, Ssaw_width and Pin_width)"},
        {"invertz", "Unknown field: invertz (the closest names are InvertZ, InvertX and InvertY)"},
        {"gcodefolder",
         "Unknown field: gcodefolder (the closest names are GcodeFolder, GcodeX and GCodeY)"},
    };
    for (const auto& c : cases) {
        try {
            fields.assign(c.name, "1");
            ADD_FAILURE() << c.name << " was taken";
        } catch (const Error& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

}  // namespace
}  // namespace ostrivane
