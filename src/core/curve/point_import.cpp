#include "core/curve/point_import.h"

#include <string>

#include "core/text/ascii_text.h"
#include "core/text/error.h"
#include "core/text/number_parse.h"

namespace ostrivane {

namespace {
std::string_view trimmed(std::string_view text) {
    const auto is_blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && is_blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && is_blank(text.back()))
        text.remove_suffix(1);
    return text;
}

double coordinate(std::string_view text) {
    const std::string_view number = trimmed(text);
    if (const auto value = parse_float(number))
        return *value;
    throw Error("'" + std::string(number) + "' is not a valid floating point value");
}
}  // namespace

void import_points(std::string_view text, TBetaSPLpoints& spline1) {
    for (std::string_view line : split_lines(text)) {
        const auto separator = line.find(';');
        if (separator == std::string_view::npos)
            continue;
        const double x = coordinate(line.substr(0, separator));
        const double y = coordinate(line.substr(separator + 1));
        if (spline1.Nopoints < kImportLimit)
            spline1.save_point(x, y);
    }
}

}  // namespace ostrivane
