#include "chartreadout.h"
#include "generateddata.h"
#include "graphrenderer.h"
#include "guibenchmain.h"

#include <benchmark/benchmark.h>

#include <QImage>

#include <chrono>

namespace {

constexpr std::int64_t kBlocks = 10'000'000;

const CutDataSet& benchData() {
    static const CutDataSet data = generatedData(kBlocks);
    return data;
}

// One iteration renders the chart at 1000 x 600 as the control does, then times the read-out
// that the first mouse move after the render asks for: the pick in the middle column and the
// record's description. Arguments: distance mode, plotted quantity, compare mode (0 none,
// 1 rates, 2 feeds), fit height, and whether the read-out is new (as after a load) or kept from
// the render before.
void BM_FirstReadOut(benchmark::State& state) {
    const CutDataSet& data = benchData();
    if (data.count < kBlocks) {
        state.SkipWithError("generated data did not decode");
        return;
    }
    ChartState chart;
    chart.width = 1000;
    chart.height = 600;
    chart.distanceMode = static_cast<std::int32_t>(state.range(0));
    chart.drawMode = static_cast<std::uint8_t>(state.range(1));
    chart.compareMode = static_cast<CompareMode>(state.range(2));
    chart.fitHeight = state.range(3) != 0;
    const bool fresh = state.range(4) != 0;
    QImage image(chart.width, chart.height, QImage::Format_RGB32);
    ChartReadOut kept;
    int column = chart.width / 2;
    for (auto _ : state) {
        ChartReadOut fresher;
        ChartReadOut& readOut = fresh ? fresher : kept;
        DrawGraph(image, chart, &data);
        readOut.rendered(data);
        // Every render moves the pointer by one column, so that the mark changes each time.
        column = column == chart.width / 2 ? column + 1 : chart.width / 2;
        const auto start = std::chrono::steady_clock::now();
        readOut.pointAt(column, chart, data);
        benchmark::DoNotOptimize(readOut.describe(chart, data));
        const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(spent.count());
    }
    state.counters["records"] = static_cast<double>(data.count);
}

BENCHMARK(BM_FirstReadOut)
    ->ArgNames({"mode", "draw", "compare", "fit", "fresh"})
    ->Args({0, 0, 0, 0, 1})
    ->Args({0, 0, 0, 0, 0})
    ->Args({2, 0, 0, 0, 1})
    ->Args({0, 2, 0, 1, 0})
    ->Args({0, 0, 1, 0, 0})
    ->Args({0, 0, 2, 0, 0})
    ->Args({0, 0, 2, 1, 0})
    ->UseManualTime()
    ->Iterations(15)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return runGuiBenchmarks(argc, argv);
}
