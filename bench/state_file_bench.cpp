#include <benchmark/benchmark.h>

#include <string>

#include "core/app/field_values.h"
#include "core/app/form_state.h"
#include "core/app/main_window_fields.h"

namespace {

// A main-window state file with `extra` members it does not know before its own ones, as a
// hostile or foreign file may have. The time per member should stay flat as `extra` grows.
std::string state_with_extra_members(int extra) {
    using namespace ostrivane;
    const std::string own =
        form_state_json(main_window_components(), FieldValues(main_window_components()));
    std::string json = "{";
    for (int i = 0; i < extra; ++i)
        json += "\"x" + std::to_string(i) + "\":{\"data\":\"x\"},";
    json += own.substr(1);
    return encode_state_file(json);
}

void BM_RestoreWithExtraMembers(benchmark::State& state) {
    using namespace ostrivane;
    const std::string bytes = state_with_extra_members(static_cast<int>(state.range(0)));
    FieldValues form(main_window_components());
    for (auto _ : state) {
        benchmark::DoNotOptimize(restore_form_state(bytes, main_window_components(), form));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RestoreWithExtraMembers)->RangeMultiplier(10)->Range(1'000, 100'000);

}  // namespace
