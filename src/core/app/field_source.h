#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace ostrivane {

// The main window's fields by name, read at the moment a job needs them. The window implements
// it over its widgets; the command-line tool and the tests over a FieldValues table.
class FieldSource {
  public:
    virtual ~FieldSource() = default;
    // Text of the edit box of a labelled field (`saw_width`, `GcodeFolder` ...).
    virtual std::string text(std::string_view field) const = 0;
    virtual void set_text(std::string_view field, std::string_view text) = 0;
    // Caption of the field's label, used in the messages of the field checks.
    virtual std::string label(std::string_view field) const = 0;
    virtual bool checked(std::string_view check_box) const = 0;
    // Index of the selected item of a selector, -1 when none is selected.
    virtual int selected(std::string_view selector) const = 0;
};

// The field checks: they return the value or throw Error with the operator's message, e.g.
// "3,2 inside Saw width (mm) is not a valid floating point number.".
double validate_float(const FieldSource& fields, std::string_view field);
std::int32_t validate_integer(const FieldSource& fields, std::string_view field);

// The messages themselves, for widgets that check their own text.
std::string float_error_message(std::string_view text, std::string_view label);
std::string integer_error_message(std::string_view text, std::string_view label);

}  // namespace ostrivane
