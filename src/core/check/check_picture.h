#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "core/check/cut_check.h"

namespace ostrivane {

// A picture of a check as RGB pixels, row by row from the top: the design as a black line,
// the envelope as a blue one, the overcut (envelope above the design) filled red and the
// material left (envelope below it) shaded grey; x runs left to right over the checked range,
// y upwards.
struct CheckPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // width * height * 3
};
CheckPicture draw_check(const CheckReport& report, int width = 1200, int height = 600);

// The picture as the bytes of a PNG file (uncompressed deflate blocks: no library needed, and
// every viewer reads it).
std::string png_bytes(const CheckPicture& picture);

}  // namespace ostrivane
