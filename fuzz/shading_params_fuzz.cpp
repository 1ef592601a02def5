// Feeds arbitrary bytes to the reader of "pelmo.gul", the light model of the shaded workpiece.
// Whatever the bytes, it must read them or refuse them with a message; what it reads must lie
// in the model's range, and shading with it must stay within 64 bits (the sanitizers watch)
// and give one of the four dot colours.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/text/error.h"
#include "core/toolpath/shading_model.h"

using namespace ostrivane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ShadingParams params;
    try {
        params = parse_shading_params(bytes);
    } catch (const Error&) {
        return 0;
    }
    for (const std::int32_t v : {params.I, params.Ka, params.Kd, params.n}) {
        if (v < 0 || v > 1000)
            std::abort();
    }
    std::int64_t e = 0;
    for (const double s : {0.0, 0.25, 0.5, 1.0}) {
        for (const double c : {0.0, 0.5, 1.0}) {
            e += dot_brightness(params, s, c);
            const std::uint32_t colour = dot_colour(e);
            if (colour != kShadeBrown && colour != 0xFFFFFFFFu && colour != 0xFFD3D3D3u &&
                colour != 0xFFA9A9A9u) {
                std::abort();
            }
        }
    }
    return 0;
}
