#include "core/toolpath/saw_outline.h"

#include <cmath>
#include <string>
#include <system_error>

#include "core/app/known_folders.h"
#include "core/text/ascii_text.h"
#include "core/text/error.h"
#include "core/text/file_io.h"
#include "core/text/number_parse.h"

namespace ostrivane {
namespace {

// No saw reaches 100 m from its blade; a larger value is a damaged file, and drawing it would
// overflow the pixel mapping.
constexpr double kLargestOffset = 100000;
// A hundred pairs of short lines with their comments fit many times over.
constexpr std::uint64_t kLargestFile = 1 << 20;

double corner_value(std::string_view text, std::size_t line_number) {
    const auto value = parse_float(text);
    if (!value) {
        throw Error("line " + std::to_string(line_number) + ": '" + printable_excerpt(text, 40) +
                    "' is not a valid floating point value");
    }
    if (!(std::fabs(*value) <= kLargestOffset)) {
        throw Error("line " + std::to_string(line_number) + ": " + printable_excerpt(text, 40) +
                    " mm is beyond any saw");
    }
    return *value;
}

// Splits "x;y" at the first ";": everything after it is y, so a second ";" fails as a number.
void read_corner(std::string_view line, std::size_t line_number, double& x, double& y) {
    const std::size_t semicolon = line.find(';');
    x = corner_value(line.substr(0, semicolon), line_number);
    y = corner_value(line.substr(semicolon + 1), line_number);
}

}  // namespace

SawOutline parse_saw_outline(std::string_view text) {
    SawOutline outline;
    const std::vector<std::string_view> lines = split_lines(text);
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const std::string_view first = lines[k];
        if (first.find("//") != std::string_view::npos || first.find(';') == std::string_view::npos)
            continue;
        if (outline.count_saw_rec == SawOutline::kMaxRecords) {
            throw Error("more than " + std::to_string(SawOutline::kMaxRecords) +
                        " outline records (line " + std::to_string(k + 1) + ")");
        }
        SawRec& rec = outline.saw_rec[++outline.count_saw_rec];
        read_corner(first, k + 1, rec.x1, rec.y1);
        // The pair's second line; the last line of the file serves twice.
        if (k + 1 < lines.size())
            ++k;
        if (lines[k].find(';') != std::string_view::npos)
            read_corner(lines[k], k + 1, rec.x2, rec.y2);
    }
    return outline;
}

SawOutline read_saw(const std::filesystem::path& data_folder, const MainLog& log) {
    const std::string file = with_separator(data_folder) + std::string(kSawOutlineFile);
    const auto say = [&](const std::string& text) {
        if (log)
            log(text, true);
    };
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::path(file), ec)) {
        say(file +
            " does not exist (containing boundary definition for interference check). For this "
            "reason assuming sawblade only");
        return {};
    }
    std::string bytes;
    try {
        bytes = read_file_limited(file, kLargestFile, "a saw outline");
    } catch (const Error& e) {
        say(with_full_stop(e.what()) + " For this reason assuming sawblade only");
        return {};
    }
    try {
        return parse_saw_outline(bytes);
    } catch (const Error& e) {
        say(file + ", " + e.what() + ". For this reason assuming sawblade only");
        return {};
    }
}

}  // namespace ostrivane
