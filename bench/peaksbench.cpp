#include "generateddata.h"
#include "shownpeaks.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

constexpr std::int64_t kBlocks = 10'000'000;

const CutDataSet& benchData() {
    static const CutDataSet data = generatedData(kBlocks);
    return data;
}

// The 20 peaks 100 records apart of one view of 10,000,000 generated records, as the peaks panel
// asks for them after a redraw: the shown records found, then the peaks among them.
void shownPeaks(benchmark::State& state, std::uint8_t drawMode, std::int32_t distanceMode,
                float lower, float upper) {
    const CutDataSet& data = benchData();
    if (data.count < kBlocks || !data.index.covers(data)) {
        state.SkipWithError("generated data did not decode");
        return;
    }
    ChartState view;
    view.drawMode = drawMode;
    view.distanceMode = distanceMode;
    view.shown.lower = lower;
    view.shown.upper = upper;
    std::size_t found = 0;
    for (auto _ : state) {
        const std::vector<Peak> peaks = ShownPeaks(data, view);
        found = peaks.size();
        benchmark::DoNotOptimize(peaks.data());
    }
    state.counters["peaks"] = static_cast<double>(found);
}

void BM_PeaksRemovalFull(benchmark::State& state) {
    shownPeaks(state, 0, 0, 0.0f, 100.0f);
}
void BM_PeaksProgrammedRateFull(benchmark::State& state) {
    shownPeaks(state, 1, 0, 0.0f, 100.0f);
}
void BM_PeaksOptimisedRateBlockNumbers(benchmark::State& state) {
    shownPeaks(state, 2, 2, 0.0f, 100.0f);
}
void BM_PeaksRemovalZoomMiddle(benchmark::State& state) {
    shownPeaks(state, 0, 0, 50.0f, 51.0f);
}

// Every record looked at, as without the data set's index: what the index saves.
void BM_PeaksWithoutIndex(benchmark::State& state) {
    static const CutDataSet data = [] {
        CutDataSet copy = generatedData(kBlocks);
        copy.index = CutIndex();
        return copy;
    }();
    std::size_t found = 0;
    for (auto _ : state) {
        const std::vector<Peak> peaks = PeakFinder(data, 0, 5000.0f).find({0, data.count}, 20, 100);
        found = peaks.size();
        benchmark::DoNotOptimize(peaks.data());
    }
    state.counters["peaks"] = static_cast<double>(found);
}

// Every peak there is, as `curvex peaks --top 4294967295 --gap G` asks, with the index: no count
// or gap may cost more than twice a sort of as many floats (BM_SortFloats).
void BM_PeaksAll(benchmark::State& state) {
    const CutDataSet& data = benchData();
    const auto gap = static_cast<std::uint32_t>(state.range(0));
    std::size_t found = 0;
    for (auto _ : state) {
        const std::vector<Peak> peaks =
            PeakFinder(data, 0, 5000.0f).find({0, data.count}, 0xFFFFFFFFu, gap);
        found = peaks.size();
        benchmark::DoNotOptimize(peaks.data());
    }
    state.counters["peaks"] = static_cast<double>(found);
}

// The measure of BM_PeaksAll: a std::sort of 10,000,000 floats, the removals of the records.
void BM_SortFloats(benchmark::State& state) {
    const CutDataSet& data = benchData();
    std::vector<float> values(data.count);
    for (auto _ : state) {
        state.PauseTiming();
        for (std::uint32_t i = 0; i < data.count; ++i)
            values[i] = data.records[i].removal;
        state.ResumeTiming();
        std::sort(values.begin(), values.end());
        benchmark::DoNotOptimize(values.data());
    }
}

BENCHMARK(BM_PeaksRemovalFull)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeaksProgrammedRateFull)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeaksOptimisedRateBlockNumbers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeaksRemovalZoomMiddle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeaksWithoutIndex)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeaksAll)->Arg(1)->Arg(100)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortFloats)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
