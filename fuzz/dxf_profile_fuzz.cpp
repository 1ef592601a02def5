// Feeds arbitrary bytes to the DXF profile import as the editor's "Import" and `spline import`
// read a .dxf file. Whatever the bytes, the reader must give points or stop with a message; the
// points must be finite and within the import's coordinate limit, and the profile made of them
// must stay within the point limit, in order of x, and evaluate without a fault.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/curve/dxf_profile.h"
#include "core/curve/point_import.h"
#include "core/text/error.h"
#include "core/text/message_sink.h"
#include "profile_invariants.h"

using namespace ostrivane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        for (const CurvePoint& p : read_dxf_profile(bytes).points) {
            if (!std::isfinite(p.x) || !std::isfinite(p.y) ||
                std::fabs(p.x) > kImportCoordinateLimit || std::fabs(p.y) > kImportCoordinateLimit)
                std::abort();
        }
    } catch (const Error&) {
        // refused with a message naming the line and the entity
    }
    SilentSink notices;
    TBetaSPLpoints profile{notices};
    profile.set_data(3.2, 10, false);
    try {
        import_dxf_points(bytes, profile);
    } catch (const Error&) {
        return 0;
    }
    fuzz::check_imported_profile(profile);
    return 0;
}
