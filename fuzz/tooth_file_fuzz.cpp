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

#include "core/plot/recording_canvas.h"
#include "core/plot/tgrita.h"
#include "core/text/error.h"
#include "core/toolpath/tgrad.h"

using namespace ostrivane;

namespace {
struct Engine {
    Engine() {
        grita.SetViewport(0, 0, 1, 1);
        grita.SetWindow(0, 0, 100, 100);
        engine = std::make_unique<TGrad>(grita, nullptr, std::filesystem::path("/nonexistent"));
        engine->set_data(4.5, 20, 3.2, 1, 1, 1, 3.2, 1, 100, 100, false, true, "fuzz.tnd", false,
                         true, true);
        const double points[][2] = {{0, 30}, {15, 20}, {30, 35}, {45, 15}, {60, 25}};
        for (const auto& p : points) {
            engine->save_point(p[0], p[1]);
            engine->spline2.save_point(p[0] - 1, p[1] + 2);
        }
        engine->Calcgradients();
        engine->placesaws();
    }
    RecordingCanvas canvas{100, 100};
    Tgrita grita{canvas, nullptr, true, [](std::string_view, bool) {}};
    std::unique_ptr<TGrad> engine;
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Engine shared;
    TGrad& e = *shared.engine;
    shared.canvas.calls.clear();  // the "+" marks would pile up otherwise
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (bool second : {false, true}) {
        e.second_spline = second;
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
