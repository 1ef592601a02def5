#include <benchmark/benchmark.h>

#include "core/text/number_format.h"
#include "core/text/number_parse.h"

namespace {

// G-code lines format two or three distances each; a turning job writes millions of them.
void BM_FormatDistance(benchmark::State& state) {
    double x = 0.1234567;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ostrivane::format_distance(x));
        x += 1.000001;
    }
}
BENCHMARK(BM_FormatDistance);

void BM_ParseFloat(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(ostrivane::parse_float("-1234.5678e-2"));
}
BENCHMARK(BM_ParseFloat);

}  // namespace
