// Feeds arbitrary bytes to the spline file reader as the program loader reads a file: version
// word, the profile (with matching, as the editor uses it), its parts, the second spline and
// the recorded moves. What was read is then written and read back, which must give the same
// bytes again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/curve/spline_file.h"
#include "core/text/message_sink.h"

using namespace ostrivane;

namespace {
struct Job {
    explicit Job(bool matched) {
        profile.set_data(3.2, 10, matched);
        spline2.set_data(3.2, 10, matched);
    }
    SilentSink notices;
    TBetaSPLpoints profile{notices};
    TBetaSPLpoints spline2{notices};
    RecordedMoves moves;
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Job first(size % 2 == 0);
    if (read_spline_file(bytes, first.profile, first.spline2, first.moves, first.notices, 1000) !=
        kSplineFileVersion) {
        return 0;
    }
    // The curve of whatever was read must evaluate and draw without a fault.
    if (first.profile.Nopoints >= 2) {
        double x = 0;
        double y = 0;
        first.profile.evaluate(first.profile.segments() * 0.5, x, y);
        first.profile.YatX(x);
    }
    const std::string written = write_spline_file(first.profile, first.spline2, first.moves);
    Job second(false);
    read_spline_file(written, second.profile, second.spline2, second.moves, second.notices);
    if (write_spline_file(second.profile, second.spline2, second.moves) != written)
        std::abort();
    return 0;
}
