#include "core/toolpath/shading_model.h"

#include <string>
#include <system_error>

#include "core/app/known_folders.h"
#include "core/text/ascii_text.h"
#include "core/text/error.h"
#include "core/text/file_io.h"
#include "core/text/number_format.h"
#include "core/text/number_parse.h"

namespace ostrivane {
namespace {

// Far beyond any sensible light; keeps every product of the model inside 64 bits.
constexpr std::int32_t kLargest = 1000;
constexpr std::uint64_t kLargestFile = 1 << 16;

std::int32_t parameter(const std::vector<std::string_view>& lines, std::size_t k,
                       std::string_view name) {
    if (k >= lines.size()) {
        throw Error(std::string(kShadingFile) + " ends before its value " + std::string(name));
    }
    const auto value = parse_int(lines[k]);
    const std::string where = std::string(kShadingFile) + ", line " + std::to_string(k + 1) + ": ";
    if (!value) {
        throw Error(where + "'" + printable_excerpt(lines[k], 40) +
                    "' is not a valid integer value");
    }
    if (*value < 0 || *value > kLargest) {
        throw Error(where + std::string(name) + " must lie between 0 and " +
                    std::to_string(kLargest));
    }
    return *value;
}

}  // namespace

ShadingParams parse_shading_params(std::string_view text) {
    const std::vector<std::string_view> lines = split_lines(text);
    ShadingParams p;
    p.I = parameter(lines, 0, "I");
    p.Ka = parameter(lines, 1, "Ka");
    p.Kd = parameter(lines, 2, "Kd");
    p.n = parameter(lines, 3, "n");
    return p;
}

ShadingParams read_shading_params(const std::filesystem::path& data_folder) {
    const std::filesystem::path file = data_folder / std::string(kShadingFile);
    std::error_code ec;
    if (!std::filesystem::exists(file, ec))
        return {};
    return parse_shading_params(read_file_limited(file, kLargestFile, "a shading parameter file"));
}

std::int64_t dot_brightness(const ShadingParams& params, double s, double c) {
    const double I = params.I;
    const auto d = static_cast<std::int64_t>(round_half_even(I * s * c * params.Kd));
    double h = 2 * ((c * s) * (c * s)) - 1;
    // Squaring settles at 0 or 1 within a dozen rounds; further rounds change nothing, so a
    // large n costs no more than that.
    for (std::int32_t k = 0; k < params.n && h != 0 && h != 1; ++k)
        h = h * h;
    const auto p =
        static_cast<std::int64_t>(round_half_even(I * h * (100 - params.Ka - params.Kd)));
    return (static_cast<std::int64_t>(params.I) * params.Ka + p + d) / 100;
}

std::uint32_t dot_colour(std::int64_t& e) {
    std::uint32_t colour = kShadeBrown;
    if (e > 22)
        colour = 0xFFFFFFFFu;
    else if (e > 18)
        colour = 0xFFD3D3D3u;
    else if (e > 14)
        colour = 0xFFA9A9A9u;
    if (colour != kShadeBrown)
        e -= 29;
    return colour;
}

}  // namespace ostrivane
