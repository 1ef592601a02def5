// Feeds arbitrary bytes to the point import ("x;y" lines) as the editor's import reads a file.
// Whatever the bytes, the import must add points or stop with a message; the profile must stay
// within the import's limit, keep its points in order of x, and evaluate without a fault.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/curve/point_import.h"
#include "core/text/error.h"
#include "core/text/message_sink.h"
#include "profile_invariants.h"

using namespace ostrivane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    SilentSink notices;
    TBetaSPLpoints profile{notices};
    profile.set_data(3.2, 10, size % 2 == 0);
    try {
        if (import_points(bytes, profile) < 0)
            std::abort();
    } catch (const Error&) {
        // stopped at a line that is not a number: the points before it stay
    }
    fuzz::check_imported_profile(profile);
    return 0;
}
