// Writing long G-code programs: the cost of one motion line (settings read at every line,
// number formatting) and of a whole finger-joint program written to a file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/field_values.h"
#include "core/app/main_window_fields.h"
#include "core/fingerjoint/finger_joint_program.h"
#include "core/gcode/gcode_writer.h"
#include "core/check/program_stats.h"
#include "core/text/file_io.h"

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
    GcodeWriter motion(read_machine_settings(fields), sink);
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

// The I/O floor of the case above: the same bytes, already made, saved the same way (a
// temporary file beside the target, put in place at the end) in lines of the same length.
void BM_CopySameBytes(benchmark::State& state) {
    FingerJointJob job("ostrivane-bench-copy", state.range(0));
    const std::string bytes = *read_file(*job.write());
    std::vector<std::string_view> lines;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t end = bytes.find('\n', at) + 1;
        lines.emplace_back(bytes.data() + at, end - at);
        at = end;
    }
    const fs::path target = job.folder / "copy.ngc";
    for (auto _ : state) {
        AtomicFile file(target);
        for (const std::string_view line : lines)
            file.write(line);
        file.commit();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines.size()));
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes.size() * state.iterations()));
}
BENCHMARK(BM_CopySameBytes)->Arg(10000)->Unit(benchmark::kMillisecond);

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
