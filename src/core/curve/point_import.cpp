#include "core/curve/point_import.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/curve/dxf_profile.h"
#include "core/text/ascii_text.h"
#include "core/text/error.h"
#include "core/text/number_format.h"
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
    const auto value = parse_float(number);
    if (value && std::fabs(*value) <= kImportCoordinateLimit)
        return *value;
    throw Error("Line " + std::to_string(line_number) + ": '" +
                printable_excerpt(number, kExcerpt) +
                (value ? "' lies beyond the working range of ±" +
                             format_general(kImportCoordinateLimit) + " mm"
                       : "' is not a valid floating point value"));
}

// Adds points while the profile has room and counts those that find none, saying how many
// once the import ends, also when it ends with an error. A point at an x the profile holds
// already is refused here, as save_point would refuse it, but told once for all of them: a
// drawing of many lines on one spot would otherwise give a message for each.
class LimitedImport {
  public:
    explicit LimitedImport(TBetaSPLpoints& spline1) : spline1_(spline1) {}
    LimitedImport(const LimitedImport&) = delete;
    LimitedImport& operator=(const LimitedImport&) = delete;
    ~LimitedImport() {
        if (doubles_ == 1)
            spline1_.notices().notice(kDoublePoints);
        if (doubles_ > 1) {
            spline1_.notices().notice(std::string(kDoublePoints) + " (" + std::to_string(doubles_) +
                                      " points at an x already taken were left out)");
        }
        if (skipped_ > 0) {
            spline1_.notices().notice(std::to_string(skipped_) +
                                      (skipped_ == 1 ? " point was" : " points were") +
                                      " skipped: the profile holds at most " +
                                      std::to_string(kImportLimit) + " imported points");
        }
    }
    void add(double x, double y) {
        if (spline1_.Nopoints >= kImportLimit) {
            ++skipped_;
            return;
        }
        // The profile's points are kept in order of x.
        const double* taken = &spline1_.X.Tomatch[0];
        if (std::binary_search(taken, taken + spline1_.Nopoints, x))
            ++doubles_;
        else
            spline1_.save_point(x, y);
    }
    int skipped() const { return skipped_; }

  private:
    static constexpr const char* kDoublePoints = "Double points are not allowed !!!";

    TBetaSPLpoints& spline1_;
    int skipped_ = 0;
    int doubles_ = 0;
};

}  // namespace

int import_points(std::string_view text, TBetaSPLpoints& spline1) {
    LimitedImport import(spline1);
    std::size_t line_number = 0;
    for_each_line(text, [&](std::string_view line) {
        ++line_number;
        const auto separator = line.find(';');
        if (separator == std::string_view::npos)
            return;
        const double x = coordinate(line.substr(0, separator), line_number);
        const double y = coordinate(line.substr(separator + 1), line_number);
        import.add(x, y);
    });
    return import.skipped();
}

int import_dxf_points(std::string_view text, TBetaSPLpoints& spline1) {
    // The whole file is read before the first point is added: a damaged one adds nothing.
    const DxfProfile profile = read_dxf_profile(text);
    LimitedImport import(spline1);
    for (const CurvePoint& p : profile.points)
        import.add(p.x, p.y);
    return import.skipped();
}

bool is_dxf_file(const std::filesystem::path& file) {
    return equal_nocase(file.extension().string(), ".dxf");
}

int import_point_file(const std::filesystem::path& file, std::string_view bytes,
                      TBetaSPLpoints& spline1) {
    return is_dxf_file(file) ? import_dxf_points(bytes, spline1) : import_points(bytes, spline1);
}

}  // namespace ostrivane
