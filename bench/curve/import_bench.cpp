// The imports at their size limit (16 MB): a DXF drawing of LINEs joined end to end in three
// orders, a drawing of empty entities, and a point list of one point repeated. Each must stay
// well under two seconds.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/curve/dxf_profile.h"
#include "core/curve/point_import.h"
#include "core/text/error.h"
#include "core/text/message_sink.h"

namespace ostrivane {
namespace {

constexpr std::size_t kImportBytes = 16u << 20;

std::string entities(const std::string& body) {
    return "0\nSECTION\n2\nENTITIES\n" + body + "0\nENDSEC\n0\nEOF\n";
}

// LINE k runs from x = k to x = k + 1; `order` gives the order in the file.
std::string line_chain(const std::vector<int>& order) {
    std::string body;
    for (const int k : order) {
        body += "0\nLINE\n10\n" + std::to_string(k * 0.25) + "\n20\n" + std::to_string(k % 9) +
                "\n11\n" + std::to_string((k + 1) * 0.25) + "\n21\n" + std::to_string((k + 1) % 9) +
                "\n";
    }
    return entities(body);
}

enum Order { forward, backward, middle };

void BM_DxfLineChain(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::vector<int> order(n);
    for (int k = 0; k < n; ++k)
        order[k] = k;
    if (state.range(1) == backward)
        std::reverse(order.begin(), order.end());
    if (state.range(1) == middle)
        std::rotate(order.begin(), order.begin() + n / 2, order.end());
    const std::string text = line_chain(order);
    for (auto _ : state)
        benchmark::DoNotOptimize(read_dxf_profile(text).points.size());
    state.counters["MB"] = static_cast<double>(text.size()) / (1 << 20);
}
BENCHMARK(BM_DxfLineChain)
    ->Args({300'000, forward})
    ->Args({300'000, backward})
    ->Args({300'000, middle})
    ->Unit(benchmark::kMillisecond);

void BM_DxfEmptyEntities(benchmark::State& state) {
    std::string body;
    while (body.size() < kImportBytes - 64)
        body += "0\nLINE\n";
    const std::string text = entities(body);
    for (auto _ : state) {
        try {
            read_dxf_profile(text);
        } catch (const Error&) {
        }
    }
}
BENCHMARK(BM_DxfEmptyEntities)->Unit(benchmark::kMillisecond);

void BM_PointListOfOnePoint(benchmark::State& state) {
    std::string text;
    while (text.size() < kImportBytes)
        text += "1;1\n";
    for (auto _ : state) {
        SilentSink notices;
        TBetaSPLpoints profile{notices};
        import_points(text, profile);
        benchmark::DoNotOptimize(profile.Nopoints);
    }
}
BENCHMARK(BM_PointListOfOnePoint)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ostrivane
