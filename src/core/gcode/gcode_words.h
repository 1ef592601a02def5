#pragma once
#include <cstddef>
#include <string_view>

namespace ostrivane {

// Where the number of a G-code word that starts at `i` of `line` ends: digits, points and
// signs, and an exponent, which belongs to the number (P1e308 is one word, not P1 and E308).
std::size_t gcode_number_end(std::string_view line, std::size_t i);

}  // namespace ostrivane
