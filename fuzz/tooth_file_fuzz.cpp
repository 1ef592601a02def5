// Feeds arbitrary bytes to the turning job as its tooth file: the announced count, then the
// teeth merged into the saw positions of a fixed profile, with depths from the file and from the
// second spline in turn. Whatever the bytes, the job must read them or refuse them with a
// message, and the pass list must stay within its 300 entries and in the profile's range of
// positions a slot can give.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "core/text/error.h"
#include "core/text/message_sink.h"
#include "core/toolpath/tgrad.h"

using namespace ostrivane;

namespace {
struct Engine {
    Engine() {
        engine = std::make_unique<TGrad>(drawing, notices, std::filesystem::path("/nonexistent"));
        engine->set_data(4.5, 20, 3.2, 1, 1, 1, 3.2, 1, 100, 100, false, true, "fuzz.tnd", false,
                         true, true);
        const double points[][2] = {{0, 30}, {15, 20}, {30, 35}, {45, 15}, {60, 25}};
        for (const auto& p : points) {
            engine->profile.save_point(p[0], p[1]);
            engine->spline2.save_point(p[0] - 1, p[1] + 2);
        }
        static_cast<void>(engine->profile.Calcgradients());
        engine->placesaws();
    }
    SilentSink notices;
    Profile drawing{notices};
    std::unique_ptr<TGrad> engine;
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Engine shared;
    TGrad& e = *shared.engine;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (bool second : {false, true}) {
        e.job.second_spline = second;
        e.toth = std::make_unique<ToothFile>(bytes, "fuzz.tnd");
        e.teethcounter = 1;
        try {
            e.noteeth = e.toth->read_count();
            e.calctooth();
        } catch (const Error&) {
            // refused with a message: the job ends there
        }
        e.toth.reset();
        if (e.gradCounter2 < 0 || e.gradCounter2 > TBetaSPLpoints::kMaxGradients)
            std::abort();
    }
    return 0;
}
