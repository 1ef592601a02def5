// Writing long G-code programs: the cost of one motion line (settings read at every line,
// number formatting) and of a whole finger-joint program written to a file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <optional>
#include <string>

#include "core/app/field_values.h"
#include "core/app/main_window_fields.h"
#include "core/fingerjoint/finger_joint_program.h"
#include "core/gcode/motion.h"
#include "core/gcode/program_stats.h"

namespace {
using namespace ostrivane;
namespace fs = std::filesystem;

// Counts bytes without keeping them, so only building the lines is measured.
class CountingSink final : public LineSink {
  public:
    void write_line(std::string_view line) override { bytes += line.size() + 2; }
    std::size_t bytes = 0;
};

class SilentOperator final : public Operator {
  public:
    void information(std::string_view) override {}
    bool ask_yes_no(std::string_view) override { return false; }
    Answer ask_yes_no_cancel(std::string_view) override { return Answer::Cancel; }
};

// The finger-joint tab with `cuts` slots and everything writing its program needs, written into
// a temporary folder of its own that goes with it.
struct FingerJointJob {
    FingerJointJob(const char* folder_name, std::int64_t cuts)
        : folder(fs::temp_directory_path() / folder_name) {
        fs::create_directories(folder);
        fields.set_text("no_cuts", std::to_string(cuts));
    }
    ~FingerJointJob() { fs::remove_all(folder); }
    FingerJointJob(const FingerJointJob&) = delete;
    FingerJointJob& operator=(const FingerJointJob&) = delete;

    // The program's file name; every line also goes to `tap` when one is given.
    std::optional<std::string> write(LineSink* tap = nullptr) {
        return write_motClick(fields, op, record, {folder, folder / "bench.ngc"}, context, tap);
    }

    fs::path folder;
    FieldValues fields{main_window_components()};
    SilentOperator op;
    TfastRec record;
    JobContext context;
};

void BM_MotionLines(benchmark::State& state) {
    FieldValues fields(main_window_components());
    CountingSink sink;
    const FieldMachineSettings settings(fields);
    GcodeMotion motion(settings, sink);
    double mm = 0.123456789;
    for (auto _ : state) {
        motion.steps('X', mm, true);
        motion.steps('Z', -mm, false);
        motion.steps_combined({mm, -mm, 2 * mm}, false);
        mm += 0.001;
    }
    benchmark::DoNotOptimize(sink.bytes);
    state.SetItemsProcessed(state.iterations() * 3);
    state.SetBytesProcessed(static_cast<std::int64_t>(sink.bytes));
}
BENCHMARK(BM_MotionLines);

// A finger-joint program of `cuts` slots of four passes each (16 lines per slot) to a file.
void BM_FingerJointProgramFile(benchmark::State& state) {
    FingerJointJob job("ostrivane-bench-gcode", state.range(0));
    std::uintmax_t bytes = 0;
    for (auto _ : state)
        bytes = fs::file_size(*job.write());
    state.SetItemsProcessed(state.iterations() * (11 + 16 * state.range(0)));
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes * state.iterations()));
}
BENCHMARK(BM_FingerJointProgramFile)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond);

// The window's "Write GCODE file" with logging on: the program and its summary, counted while
// the lines are written.
void BM_FingerJointProgramWithSummary(benchmark::State& state) {
    FingerJointJob job("ostrivane-bench-summary", state.range(0));
    std::size_t summary_size = 0;
    for (auto _ : state) {
        ProgramStatsSink summary;
        job.write(&summary);
        summary_size = summary.summary().size();
    }
    benchmark::DoNotOptimize(summary_size);
    state.SetItemsProcessed(state.iterations() * (11 + 16 * state.range(0)));
}
BENCHMARK(BM_FingerJointProgramWithSummary)->Arg(10000)->Unit(benchmark::kMillisecond);

// The summary of a written program, read back from its file as `stats` does.
void BM_ProgramStatsOfFile(benchmark::State& state) {
    FingerJointJob job("ostrivane-bench-stats", state.range(0));
    const auto file = job.write();
    std::size_t lines = 0;
    for (auto _ : state)
        lines = program_stats_of_file(*file).lines;
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines));
    state.SetBytesProcessed(static_cast<std::int64_t>(fs::file_size(*file) * state.iterations()));
}
BENCHMARK(BM_ProgramStatsOfFile)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
