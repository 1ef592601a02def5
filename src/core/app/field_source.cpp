#include "core/app/field_source.h"

#include "core/text/error.h"
#include "core/text/number_parse.h"

namespace ostrivane {

std::string float_error_message(std::string_view text, std::string_view label) {
    return std::string(text) + " inside " + std::string(label) +
           " is not a valid floating point number.";
}

std::string integer_error_message(std::string_view text, std::string_view label) {
    return std::string(text) + " inside " + std::string(label) + " is not a valid round number.";
}

double validate_float(const FieldSource& fields, std::string_view field) {
    const std::string text = fields.text(field);
    if (const auto value = parse_float(text))
        return *value;
    throw Error(float_error_message(text, fields.label(field)));
}

std::int32_t validate_integer(const FieldSource& fields, std::string_view field) {
    const std::string text = fields.text(field);
    if (const auto value = parse_int(text))
        return *value;
    throw Error(integer_error_message(text, fields.label(field)));
}

}  // namespace ostrivane
