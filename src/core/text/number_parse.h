#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace ostrivane {

// Strict, locale-independent number reading for fields and files.
// Accepted: optional blanks around, optional sign, digits with "." as the only decimal
// separator (".5" and "5." included), optional exponent ("e"/"E", optional sign, digits).
// Refused: empty text, commas, thousands separators, "inf"/"nan", hex, values out of range.
std::optional<double> parse_float(std::string_view text);

// A 32-bit whole number: optional blanks around, optional sign, digits only.
std::optional<std::int32_t> parse_int(std::string_view text);

}  // namespace ostrivane
