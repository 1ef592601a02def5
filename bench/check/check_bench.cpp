// The cut check against the cost of writing the program it checks: long diagonal moves over a
// 1500 mm profile at 1000 samples per mm, each crossing hundreds of thousands of envelope
// columns. The check has a cost of its own besides its moves: the design read from the curve
// (BM_DesignOfALongProfile) and the material left judged column by column.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <memory>

#include "core/app/field_values.h"
#include "core/app/main_window_fields.h"
#include "core/check/cut_check.h"
#include "core/gcode/gcode_writer.h"
#include "core/gcode/line_sink.h"
#include "core/gcode/machine_settings.h"
#include "core/text/message_sink.h"
#include "core/toolpath/tgrad.h"

namespace {
using namespace ostrivane;

struct Design {
    Design() {
        engine = std::make_unique<TGrad>(drawing, notices, std::filesystem::temp_directory_path());
        engine->set_data(4.5, 1000, 3.2, 1, 1, 1, 3.2, 1, 100, 100, false, true, "", false, true,
                         true);
        // A long baluster: slow waves with beads on them, 1.5 mm between points.
        for (int k = 0; k < 1000; ++k) {
            const double x = 1.5 * k;
            engine->profile.X.Tomatch[k] = x;
            engine->profile.Y.Tomatch[k] = 40 + 12 * std::sin(x / 60) + 4 * std::sin(x / 9);
            engine->profile.alpha1[k] = 1;
            engine->profile.alpha2[k] = 1;
        }
        engine->profile.Nopoints = 1000;
        engine->profile.destroy_points(-10, -10, -5, -5);  // removes nothing; refreshes and matches
    }
    SilentSink notices;
    Profile drawing{notices};
    std::unique_ptr<TGrad> engine;
    FieldValues fields{main_window_components()};
    MachineSettings settings = read_machine_settings(fields);
};

Design& design() {
    static Design shared;
    return shared;
}

// The turning header, `moves` feed moves of (dx, dy) each, and the footer.
void write_program(LineSink& sink, const MachineSettings& settings, std::int64_t moves, double dx,
                   double dy) {
    for (const char* line : {"G21", "G28.1", "G17 G91", "G43H1", "T1M06", "S12000 M03"})
        sink.write_line(line);
    GcodeWriter writer(settings, sink);
    for (std::int64_t k = 0; k < moves; ++k)
        writer.steps_combined({dx, dy, 0}, false);
    sink.write_line("G28 Y0.0");
    sink.write_line("M2");
}

class CountingSink final : public LineSink {
  public:
    void write_line(std::string_view line) override { bytes += line.size() + 2; }
    std::size_t bytes = 0;
};

// 3,300 moves of 380 mm along x and 1 mm up: the program of the check's worst case.
constexpr std::int64_t kDiagonals = 3300;

void BM_WriteDiagonalProgram(benchmark::State& state) {
    Design& d = design();
    std::size_t bytes = 0;
    for (auto _ : state) {
        CountingSink sink;
        write_program(sink, d.settings, kDiagonals, 380, 1);
        bytes = sink.bytes;
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_WriteDiagonalProgram)->Unit(benchmark::kMillisecond);

void check_diagonals(benchmark::State& state, double dx, double dy) {
    Design& d = design();
    StringSink program;
    write_program(program, d.settings, kDiagonals, dx, dy);
    TurningDesign turning(*d.engine, {});
    double overcut = 0;
    std::size_t moves = 0;
    for (auto _ : state) {
        CheckInputs inputs;
        inputs.settings = d.settings;
        inputs.turning = &turning;
        const CheckReport report = check_program_text(program.text(), inputs);
        overcut = report.overcut.max_mm;
        moves = report.moves;
    }
    state.counters["overcut_mm"] = overcut;
    state.counters["moves"] = static_cast<double>(moves);
}

// The moves of BM_WriteDiagonalProgram: the first four cross the whole profile, the rest run on
// beyond it.
void BM_CheckLongDiagonals(benchmark::State& state) {
    check_diagonals(state, 380, 1);
}
BENCHMARK(BM_CheckLongDiagonals)->Unit(benchmark::kMillisecond);

// To and fro across the whole profile, each move 1400 mm long.
void BM_CheckZigzag(benchmark::State& state) {
    Design& d = design();
    StringSink program;
    for (const char* line : {"G21", "G28.1", "G17 G91"})
        program.write_line(line);
    {
        GcodeWriter writer(d.settings, program);
        for (std::int64_t k = 0; k < kDiagonals; ++k)
            writer.steps_combined({k % 2 == 0 ? 1400.0 : -1400.0, k % 2 == 0 ? 1.0 : -1.0, 0},
                                  false);
    }
    program.write_line("M2");
    TurningDesign turning(*d.engine, {});
    for (auto _ : state) {
        CheckInputs inputs;
        inputs.settings = d.settings;
        inputs.turning = &turning;
        const CheckReport report = check_program_text(program.text(), inputs);
        benchmark::DoNotOptimize(report.moves);
    }
}
BENCHMARK(BM_CheckZigzag)->Unit(benchmark::kMillisecond);

// Building the design of the 1500 mm profile: the curve cut into chords within 2 µm.
void BM_DesignOfALongProfile(benchmark::State& state) {
    Design& d = design();
    for (auto _ : state) {
        TurningDesign turning(*d.engine, {});
        benchmark::DoNotOptimize(turning.begin());
    }
}
BENCHMARK(BM_DesignOfALongProfile)->Unit(benchmark::kMillisecond);

}  // namespace
