#pragma once
#include <cstdint>
#include <filesystem>
#include <string_view>

namespace ostrivane {

// The light model of the shaded workpiece: full intensity I, the ambient share Ka and the
// diffuse share Kd in percent (the highlight takes the rest) and the highlight sharpness n.
struct ShadingParams {
    std::int32_t I = 29;
    std::int32_t Ka = 0;
    std::int32_t Kd = 70;
    std::int32_t n = 3;
    friend bool operator==(const ShadingParams&, const ShadingParams&) = default;
};

// The parameter file's name in the data folder.
inline constexpr std::string_view kShadingFile = "pelmo.gul";

// Four lines, one whole number each: I, Ka, Kd, n. Throws Error naming the line for a line that
// is not a whole number, a value outside 0 … 1000, or a file that ends early.
ShadingParams parse_shading_params(std::string_view text);

// The defaults, or the data folder's "pelmo.gul" when it exists. Throws Error for a file that
// cannot be read or used.
ShadingParams read_shading_params(const std::filesystem::path& data_folder);

// The brightness one dot adds to the error accumulator: `s` says how squarely the surface faces
// the viewer at that height (1 at the middle, 0 at the silhouette), `c` how far the profile is
// tilted over the pixel (1 flat).
std::int64_t dot_brightness(const ShadingParams& params, double s, double c);

// The colour of a dot after error diffusion: bright enough for white, light or dark grey, each
// taking a full intensity's worth (29) off the accumulator `e`, or the brown of the wood.
std::uint32_t dot_colour(std::int64_t& e);

inline constexpr std::uint32_t kShadeBrown = 0xFFA52A2Au;

}  // namespace ostrivane
