#include "changeruns.h"
#include "generateddata.h"

#include <benchmark/benchmark.h>

// The lists of the largest slowdowns and speed-ups of 10,000,000 generated records (seed 4, as
// `curvex synth --seed 4` writes them): worked out once after a load, then answered again.

namespace {

constexpr std::int64_t kBlocks = 10'000'000;

const CutDataSet& benchData() {
    static const CutDataSet data = generatedData(kBlocks, 4);
    return data;
}

bool haveData(benchmark::State& state) {
    return generatedDataDecoded(state, benchData(), kBlocks);
}

// Both lists of 20 after a load, on `threads` threads (0: as many as the size calls for).
void BM_ChangeLists(benchmark::State& state) {
    if (!haveData(state))
        return;
    const CutDataSet& data = benchData();
    const auto threads = static_cast<unsigned>(state.range(0));
    std::size_t runs = 0;
    for (auto _ : state) {
        const ChangeLists lists = LargestChangeRuns(data, ChangeRunCache::kDefaultTop, threads);
        runs = lists.slower.size() + lists.faster.size();
        benchmark::DoNotOptimize(lists);
    }
    state.counters["listed"] = static_cast<double>(runs);
    state.counters["records"] = static_cast<double>(data.count);
}
BENCHMARK(BM_ChangeLists)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The window's question after every redraw, once the lists of the data are made.
void BM_ChangeListsAgain(benchmark::State& state) {
    if (!haveData(state))
        return;
    const CutDataSet& data = benchData();
    ChangeRunCache cache;
    cache.runs(data, ChangeKind::Slower, ChangeRunCache::kDefaultTop);
    for (auto _ : state) {
        benchmark::DoNotOptimize(cache.runs(data, ChangeKind::Slower, ChangeRunCache::kDefaultTop));
        benchmark::DoNotOptimize(cache.runs(data, ChangeKind::Faster, ChangeRunCache::kDefaultTop));
    }
}
BENCHMARK(BM_ChangeListsAgain)->Unit(benchmark::kMicrosecond);

// What the air sums and the lists keep beside the records: three doubles more in every group sum
// and tool sum of the move index, and the two lists.
void BM_ExtraMemory(benchmark::State& state) {
    if (!haveData(state))
        return;
    const CutDataSet& data = benchData();
    ChangeRunCache cache;
    for (auto _ : state)
        benchmark::DoNotOptimize(cache.runs(data, ChangeKind::Slower, ChangeRunCache::kDefaultTop));
    const ChangeLists lists = LargestChangeRuns(data, ChangeRunCache::kDefaultTop);
    const double airSums = static_cast<double>(
        (data.moves.groups.capacity() + data.moves.tools.size() + 1) * 3 * sizeof(double));
    const double listed = static_cast<double>((lists.slower.capacity() + lists.faster.capacity()) *
                                              sizeof(ChangeRun));
    state.counters["bytes_per_record"] = (airSums + listed) / static_cast<double>(data.count);
}
BENCHMARK(BM_ExtraMemory)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
