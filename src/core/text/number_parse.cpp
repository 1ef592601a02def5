#include "core/text/number_parse.h"

#include <charconv>

#include "core/text/ascii_text.h"

namespace ostrivane {
namespace {

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// Drops a leading '+', which std::from_chars does not take; remembers a '-'.
std::string_view strip_plus(std::string_view s) {
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    return s;
}

std::size_t skip_digits(std::string_view s, std::size_t i) {
    while (i < s.size() && is_digit(s[i]))
        ++i;
    return i;
}

bool has_float_syntax(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    const std::size_t int_start = i;
    i = skip_digits(s, i);
    std::size_t digits = i - int_start;
    if (i < s.size() && s[i] == '.') {
        const std::size_t frac_start = ++i;
        i = skip_digits(s, i);
        digits += i - frac_start;
    }
    if (digits == 0)
        return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            ++i;
        const std::size_t exp_start = i;
        i = skip_digits(s, i);
        if (i == exp_start)
            return false;
    }
    return i == s.size();
}

}  // namespace

std::optional<double> parse_float(std::string_view text) {
    std::string_view s = trim(text, " ");
    if (!has_float_syntax(s))
        return std::nullopt;
    s = strip_plus(s);
    // from_chars takes no sign after a minus, and the syntax check allowed only one.
    double value = 0.0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc{} || end != s.data() + s.size())
        return std::nullopt;
    return value;
}

std::optional<std::int32_t> parse_int(std::string_view text) {
    std::string_view s = trim(text, " ");
    if (s.empty())
        return std::nullopt;
    const bool negative = s.front() == '-';
    if (s.front() == '+' || negative)
        s.remove_prefix(1);
    if (s.empty() || skip_digits(s, 0) != s.size())
        return std::nullopt;
    std::int64_t magnitude = 0;
    for (const char c : s) {
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > std::int64_t{1} << 31)
            return std::nullopt;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > INT32_MAX)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

}  // namespace ostrivane
