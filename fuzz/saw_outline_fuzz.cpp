// Feeds arbitrary bytes to the reader of "saw_def.txt", the saw's outline. Whatever the bytes,
// it must read them or refuse them with a message, and what it reads must stay within the
// outline's 100 records and within reach of a saw, so that drawing it cannot overflow.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/text/error.h"
#include "core/toolpath/saw_outline.h"

using namespace ostrivane;

namespace {
bool within_reach(double v) {
    return std::isfinite(v) && std::fabs(v) <= 100000;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    SawOutline outline;
    try {
        outline = parse_saw_outline(bytes);
    } catch (const Error&) {
        return 0;  // refused with a message: the blade alone is drawn
    }
    if (outline.count_saw_rec < 0 || outline.count_saw_rec > SawOutline::kMaxRecords)
        std::abort();
    for (int k = 1; k <= outline.count_saw_rec; ++k) {
        const SawRec& r = outline.saw_rec[k];
        if (!within_reach(r.x1) || !within_reach(r.y1) || !within_reach(r.x2) ||
            !within_reach(r.y2)) {
            std::abort();
        }
    }
    return 0;
}
