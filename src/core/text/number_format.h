#pragma once
#include <cstdint>
#include <string>

namespace ostrivane {

// All formats here are locale-independent: "." is always the decimal separator.

// Rounds to the nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double round_half_even(double value);
std::int64_t round_to_int(double value);

// General decimal format: at most 15 significant digits, no trailing zeros, fixed notation
// unless the value needs more than 15 integer digits or is below 0.00001 (then "1.5E-7").
// 270 -> "270", 199.8 -> "199.8", 0 -> "0"; infinities "INF" and "-INF", not-a-number "NAN".
std::string format_general(double value);

// Fixed notation with `decimals` decimals, correctly rounded. Never "-0.000": a result whose
// digits are all zero carries no sign.
std::string format_fixed(double value, int decimals);

// "%.8f" as used for distances in G-code: 12.5 -> "12.50000000", -0.0 -> "0.00000000".
std::string format_distance(double value);
// The same text appended to `out`: programs write millions of distances, so the common ones
// are made with integer arithmetic, exactly as the general path would round them.
void append_distance(std::string& out, double value);

// "%f" of the number format, which has two decimals: 0.5 -> "0.50".
std::string format_f(double value);

// The 23-character real of tooth files: sign blank or "-", d.dddddddddddddd, "E", exponent
// sign and four digits. 10 -> " 1.00000000000000E+0001", 0 -> " 0.00000000000000E+0000".
std::string format_tooth_real(double value);

// Shortest text that reads back to the same double (for JSON output and diagnostics).
std::string format_shortest(double value);

}  // namespace ostrivane
