#include "generateddata.h"
#include "recordpick.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>

namespace {

constexpr std::int64_t kBlocks = 10'000'000;
constexpr int kWidth = 1000;

const CutDataSet& benchData() {
    static const CutDataSet data = generatedData(kBlocks);
    return data;
}

// The processor time of this thread: other programs on the machine do not count.
double threadMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) * 1e-6;
}

// The block numbers of generated data ascend: every view is bisected. The picker looks through
// them once, outside the timing, as the control does once per render.
// One iteration picks at every pixel column of a 1000 x 600 chart (and a few beyond its ends);
// "max cpu ms" is the processor time of the slowest single pick.
void pickEveryColumn(benchmark::State& state, std::int32_t distanceMode, float lower, float upper) {
    const CutDataSet& data = benchData();
    if (data.count < kBlocks) {
        state.SkipWithError("generated data did not decode");
        return;
    }
    ChartState view;
    view.width = kWidth;
    view.height = 600;
    view.distanceMode = distanceMode;
    view.shown.lower = lower;
    view.shown.upper = upper;
    const RecordPicker picker(data);
    // The first pick in a long column finds the block maxima of its own column.
    const double warmStart = threadMilliseconds();
    benchmark::DoNotOptimize(picker.pick(view, kWidth / 2));
    state.counters["first pick cpu ms"] = threadMilliseconds() - warmStart;
    double slowest = 0.0;
    std::int64_t picks = 0;
    for (auto _ : state) {
        for (int column = -2; column < kWidth + 2; ++column) {
            const double start = threadMilliseconds();
            benchmark::DoNotOptimize(picker.pick(view, column));
            slowest = std::max(slowest, threadMilliseconds() - start);
            ++picks;
        }
    }
    state.SetItemsProcessed(picks);
    state.counters["max cpu ms"] = slowest;
    state.counters["records"] = static_cast<double>(data.count);
}

void BM_PickFull(benchmark::State& state) {
    pickEveryColumn(state, 0, 0.0f, 100.0f);
}
void BM_PickFullCuttingDistance(benchmark::State& state) {
    pickEveryColumn(state, 1, 0.0f, 100.0f);
}
void BM_PickFullBlockNumbers(benchmark::State& state) {
    pickEveryColumn(state, 2, 0.0f, 100.0f);
}
void BM_PickZoomMiddle(benchmark::State& state) {
    pickEveryColumn(state, 0, 50.0f, 51.0f);
}
void BM_PickZoomEndBlockNumbers(benchmark::State& state) {
    pickEveryColumn(state, 2, 99.0f, 100.0f);
}

BENCHMARK(BM_PickFull)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PickFullCuttingDistance)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PickFullBlockNumbers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PickZoomMiddle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PickZoomEndBlockNumbers)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
