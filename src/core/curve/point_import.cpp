#include "core/curve/point_import.h"

#include <string>

#include "core/text/ascii_text.h"
#include "core/text/error.h"
#include "core/text/number_parse.h"

namespace ostrivane {

namespace {
// A bad coordinate is shown this far; a damaged file can hold megabytes on one line.
constexpr std::size_t kExcerpt = 40;

// Blanks and control characters around a number.
std::string_view trimmed(std::string_view text) {
    return trim_if(text, [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

double coordinate(std::string_view text, std::size_t line_number) {
    const std::string_view number = trimmed(text);
    if (const auto value = parse_float(number))
        return *value;
    throw Error("Line " + std::to_string(line_number) + ": '" +
                printable_excerpt(number, kExcerpt) + "' is not a valid floating point value");
}
}  // namespace

int import_points(std::string_view text, TBetaSPLpoints& spline1) {
    int skipped = 0;
    std::size_t line_number = 0;
    const auto report_skipped = [&] {
        if (skipped > 0) {
            spline1.notices().notice(std::to_string(skipped) +
                                     (skipped == 1 ? " point was" : " points were") +
                                     " skipped: the profile holds at most " +
                                     std::to_string(kImportLimit) + " imported points");
        }
    };
    try {
        for (std::string_view line : split_lines(text)) {
            ++line_number;
            const auto separator = line.find(';');
            if (separator == std::string_view::npos)
                continue;
            const double x = coordinate(line.substr(0, separator), line_number);
            const double y = coordinate(line.substr(separator + 1), line_number);
            if (spline1.Nopoints < kImportLimit)
                spline1.save_point(x, y);
            else
                ++skipped;
        }
    } catch (const Error&) {
        report_skipped();
        throw;
    }
    report_skipped();
    return skipped;
}

}  // namespace ostrivane
