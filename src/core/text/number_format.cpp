#include "core/text/number_format.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace ostrivane {
namespace {

// Large enough for any double in fixed notation with up to 30 decimals.
using Buffer = std::array<char, 400>;

std::string_view to_chars_view(Buffer& buf, double value, std::chars_format fmt, int precision) {
    const auto result = std::to_chars(buf.data(), buf.data() + buf.size(), value, fmt, precision);
    return {buf.data(), static_cast<std::size_t>(result.ptr - buf.data())};
}

bool all_zero_digits(std::string_view s) {
    for (const char c : s) {
        if (c >= '1' && c <= '9')
            return false;
    }
    return true;
}

// Splits "d.ddde+XX" into its digits (without the point) and its decimal exponent.
struct Scientific {
    std::string digits;
    int exponent = 0;
    bool negative = false;
};

Scientific scientific(double value, int significant) {
    Buffer buf;
    std::string_view s = to_chars_view(buf, value, std::chars_format::scientific, significant - 1);
    Scientific sci;
    if (!s.empty() && s.front() == '-') {
        sci.negative = true;
        s.remove_prefix(1);
    }
    const std::size_t e = s.find('e');
    for (const char c : s.substr(0, e)) {
        if (c != '.')
            sci.digits.push_back(c);
    }
    std::from_chars(s.data() + e + 1 + (s[e + 1] == '+'), s.data() + s.size(), sci.exponent);
    return sci;
}

}  // namespace

double round_half_even(double value) {
    const double lower = std::floor(value);
    const double diff = value - lower;
    if (diff < 0.5)
        return lower;
    if (diff > 0.5)
        return lower + 1.0;
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

std::int64_t round_to_int(double value) {
    return static_cast<std::int64_t>(round_half_even(value));
}

std::string format_general(double value) {
    if (value == 0.0)
        return "0";
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value > 0 ? "INF" : "-INF";
    Scientific sci = scientific(value, 15);
    while (sci.digits.size() > 1 && sci.digits.back() == '0')
        sci.digits.pop_back();
    std::string out = sci.negative ? "-" : "";
    const int n = static_cast<int>(sci.digits.size());
    if (sci.exponent >= 15 || sci.exponent < -5) {
        out += sci.digits.substr(0, 1);
        if (n > 1)
            out += "." + sci.digits.substr(1);
        out += "E" + std::to_string(sci.exponent);
        return out;
    }
    if (sci.exponent < 0) {
        out += "0." + std::string(static_cast<std::size_t>(-sci.exponent - 1), '0') + sci.digits;
        return out;
    }
    const int int_digits = sci.exponent + 1;
    if (n <= int_digits) {
        out += sci.digits + std::string(static_cast<std::size_t>(int_digits - n), '0');
    } else {
        out += sci.digits.substr(0, static_cast<std::size_t>(int_digits)) + "." +
               sci.digits.substr(static_cast<std::size_t>(int_digits));
    }
    return out;
}

std::string format_fixed(double value, int decimals) {
    Buffer buf;
    std::string_view s = to_chars_view(buf, value, std::chars_format::fixed, decimals);
    if (!s.empty() && s.front() == '-' && all_zero_digits(s))
        s.remove_prefix(1);
    return std::string(s);
}

std::string format_distance(double value) {
    std::string out;
    append_distance(out, value);
    return out;
}

void append_distance(std::string& out, double value) {
    // value = m * 2^e exactly, so value * 10^8 = m * 10^8 / 2^-e: its quotient is the digits and
    // its remainder decides the rounding, without any rounding on the way. Exact ties (whose
    // rule is the general path's), subnormals and values of 10^10 mm and more take the
    // general path.
    constexpr std::uint64_t kScale = 100000000;
    const auto bits = std::bit_cast<std::uint64_t>(value);
    if ((bits << 1) == 0) {
        out.append("0.00000000", 10);  // either zero: no sign
        return;
    }
    const auto biased = static_cast<int>((bits >> 52) & 0x7FF);
    if (biased != 0 && std::fabs(value) < 1e10) {
        const std::uint64_t m = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
        const int shift = 1075 - biased;  // value = m / 2^shift
        if (shift >= 0 && shift < 120) {
            const unsigned __int128 n = static_cast<unsigned __int128>(m) * kScale;
            std::uint64_t q = 0;
            bool tie = false;
            if (shift == 0) {
                q = static_cast<std::uint64_t>(n);
            } else {
                const unsigned __int128 one = 1;
                const unsigned __int128 rest = n & ((one << shift) - 1);
                const unsigned __int128 half = one << (shift - 1);
                q = static_cast<std::uint64_t>(n >> shift);
                tie = rest == half;
                if (rest > half)
                    ++q;
            }
            if (!tie) {
                if (std::signbit(value) && q != 0)
                    out += '-';
                char digits[24];
                const auto end = std::to_chars(digits, digits + 15, q / kScale).ptr;
                *end = '.';
                auto decimals = static_cast<std::uint32_t>(q % kScale);
                for (int k = 8; k >= 1; --k) {
                    end[k] = static_cast<char>('0' + decimals % 10);
                    decimals /= 10;
                }
                out.append(digits, static_cast<std::size_t>(end + 9 - digits));
                return;
            }
        }
    }
    out += format_fixed(value, 8);
}

std::string format_f(double value) {
    return format_fixed(value, 2);
}

std::string format_tooth_real(double value) {
    if (value == 0.0)
        return " 0.00000000000000E+0000";
    const Scientific sci = scientific(value, 15);
    std::string out = sci.negative ? "-" : " ";
    out += sci.digits.substr(0, 1) + "." + sci.digits.substr(1) + "E";
    out += sci.exponent < 0 ? '-' : '+';
    const std::string exp = std::to_string(std::abs(sci.exponent));
    out += std::string(4 - exp.size(), '0') + exp;
    return out;
}

std::string format_shortest(double value) {
    Buffer buf;
    const auto result = std::to_chars(buf.data(), buf.data() + buf.size(), value);
    return std::string(buf.data(), result.ptr);
}

}  // namespace ostrivane
