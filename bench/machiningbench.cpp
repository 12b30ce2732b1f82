#include "curvexids.h"
#include "generateddata.h"
#include "machiningtime.h"
#include "shownrecords.h"

#include <benchmark/benchmark.h>

namespace {

constexpr std::int64_t kBlocks = 10'000'000;

const CutDataSet& benchData() {
    static const CutDataSet data = generatedData(kBlocks);
    return data;
}

bool haveData(benchmark::State& state) {
    return generatedDataDecoded(state, benchData(), kBlocks);
}

// The whole table after a load or a G00 feed change: a row per tool and the total.
void BM_TimeTable(benchmark::State& state) {
    if (!haveData(state))
        return;
    const CutDataSet& data = benchData();
    double g00Feed = curvex::kDefaultG00Feed;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ToolTimesOf(data, g00Feed));
        benchmark::DoNotOptimize(TotalTimesOf(data, g00Feed));
        g00Feed += 1.0;
    }
    state.counters["tools"] = static_cast<double>(data.moves.tools.size());
    state.counters["records"] = static_cast<double>(data.count);
}
BENCHMARK(BM_TimeTable)->Unit(benchmark::kMillisecond);

// The shown-range row after a view change: every iteration shows another window of 0.1 % to
// 50 % of the data.
void BM_ShownRange(benchmark::State& state) {
    if (!haveData(state))
        return;
    const CutDataSet& data = benchData();
    const auto distanceMode = static_cast<std::int32_t>(state.range(0));
    int step = 0;
    for (auto _ : state) {
        const float lower = static_cast<float>(step % 50);
        const float upper = lower + 0.1f + static_cast<float>(step % 7) * 7.0f;
        benchmark::DoNotOptimize(
            ShownTimesOf(data, distanceMode, {lower, upper}, curvex::kDefaultG00Feed));
        ++step;
    }
}
BENCHMARK(BM_ShownRange)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
