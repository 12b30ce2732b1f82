#include "generateddata.h"
#include "graphrenderer.h"
#include "guibenchmain.h"
#include "timeaxisvalues.h"

#include <benchmark/benchmark.h>

#include <QImage>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

// The decoded data set of `blocks` generated blocks, made once per size.
const CutDataSet& benchData(std::int64_t blocks) {
    static std::map<std::int64_t, std::unique_ptr<CutDataSet>> sets;
    std::unique_ptr<CutDataSet>& data = sets[blocks];
    if (!data)
        data = std::make_unique<CutDataSet>(generatedData(blocks));
    return *data;
}

// The data set of the benchmark's first argument, or nullptr after saying that it did not decode.
const CutDataSet* decodedData(benchmark::State& state) {
    const CutDataSet& data = benchData(state.range(0));
    if (data.count < state.range(0)) {
        state.SkipWithError("generated data did not decode");
        return nullptr;
    }
    return &data;
}

ChartState benchChart() {
    ChartState chart;
    chart.width = 1000;
    chart.height = 600;
    chart.xTitle = "X";
    chart.yTitle = "Y";
    return chart;
}

// Renders of the chart at 1000 x 600 into the same image, as the control repaints, with the shown
// window moving on by 1 % of its width every frame (from 0 % again at the end), as while
// scrolling. Arguments: records, distance mode, plotted quantity, window start and width in
// hundredths of a percent. "median_ms" and "max_ms" are the median and the slowest frame.
void BM_Render(benchmark::State& state) {
    const CutDataSet* decoded = decodedData(state);
    if (decoded == nullptr)
        return;
    const CutDataSet& data = *decoded;
    ChartState chart = benchChart();
    chart.distanceMode = static_cast<std::int32_t>(state.range(1));
    chart.drawMode = static_cast<std::uint8_t>(state.range(2));
    const double width = static_cast<double>(state.range(4)) / 100.0;
    double lower = static_cast<double>(state.range(3)) / 100.0;
    QImage image(chart.width, chart.height, QImage::Format_RGB32);
    // The first render of a size fits the chart font to it: not part of a frame's time.
    chart.shown.lower = static_cast<float>(lower);
    chart.shown.upper = static_cast<float>(lower + width);
    DrawGraph(image, chart, &data);
    std::vector<double> frames;
    for (auto _ : state) {
        chart.shown.lower = static_cast<float>(lower);
        chart.shown.upper = static_cast<float>(lower + width);
        const auto start = std::chrono::steady_clock::now();
        DrawGraph(image, chart, &data);
        const std::chrono::duration<double, std::milli> spent =
            std::chrono::steady_clock::now() - start;
        frames.push_back(spent.count());
        benchmark::DoNotOptimize(image.constBits());
        lower += width * 0.01;
        if (lower + width > 100.0)
            lower = width < 100.0 ? std::fmod(lower, 100.0 - width) : 0.0;
    }
    state.counters["records"] = static_cast<double>(data.count);
    std::sort(frames.begin(), frames.end());
    state.counters["median_ms"] = frames.empty() ? 0.0 : frames[frames.size() / 2];
    state.counters["max_ms"] = frames.empty() ? 0.0 : frames.back();
}

// Renders `chart` into the same image every iteration, the window of `width` hundredths of a
// percent from `from` moving on by 1 % of its width a frame (from `from` again when it would pass
// 100 %), after one untimed render that fits the font.
void renderSliding(benchmark::State& state, ChartState chart, const CutDataSet& data,
                   std::int64_t from, std::int64_t width) {
    const double span = static_cast<double>(width) / 100.0;
    const double start = static_cast<double>(from) / 100.0;
    double lower = start;
    QImage image(chart.width, chart.height, QImage::Format_RGB32);
    chart.shown.lower = static_cast<float>(lower);
    chart.shown.upper = static_cast<float>(lower + span);
    DrawGraph(image, chart, &data);
    for (auto _ : state) {
        chart.shown.lower = static_cast<float>(lower);
        chart.shown.upper = static_cast<float>(lower + span);
        DrawGraph(image, chart, &data);
        benchmark::DoNotOptimize(image.constBits());
        lower += span * 0.01;
        if (lower + span > 100.0)
            lower = start;
    }
}

// The plain chart against the compare charts and the colouring by tool, on the total distance with
// the window moving on as in BM_Render. Arguments: records, compare mode (0 none, 1 rates, 2
// feeds, 3 feed change), colour by tool (0 or 1), window start and width in hundredths of a
// percent. CPU time keeps the comparison apart from the load of other work on the machine.
void BM_RenderCompared(benchmark::State& state) {
    const CutDataSet* decoded = decodedData(state);
    if (decoded == nullptr)
        return;
    const CutDataSet& data = *decoded;
    ChartState chart = benchChart();
    chart.compareMode = static_cast<CompareMode>(state.range(1));
    chart.colourByTool = state.range(2) != 0;
    renderSliding(state, chart, data, state.range(3), state.range(4));
}

// The plain chart against the chart over a time axis, on the total distance with the window moving
// on as in BM_Render (the times built once before the frames, as the control keeps them).
// Arguments: records, time axis (0 off, 1 programmed, 2 optimised), window start and width in
// hundredths of a percent. CPU time, as for the compare charts.
void BM_RenderTimeAxis(benchmark::State& state) {
    const CutDataSet* decoded = decodedData(state);
    if (decoded == nullptr)
        return;
    const CutDataSet& data = *decoded;
    ChartState chart = benchChart();
    chart.timeAxis = static_cast<curvex::TimeAxisMode>(state.range(1));
    const TimeAxisValues times(data, chart.timeAxis, chart.g00Feed);
    chart.timeValues = &times;
    renderSliding(state, chart, data, state.range(2), state.range(3));
}

void registerTimeAxisCases() {
    auto* bench = benchmark::RegisterBenchmark("BM_RenderTimeAxis", BM_RenderTimeAxis);
    bench->ArgNames({"records", "time", "from", "width"})->Unit(benchmark::kMillisecond);
    for (const std::int64_t time : {0, 1, 2}) {
        bench->Args({10'000'000, time, 0, 10000});
        bench->Args({10'000'000, time, 4000, 2000});
        bench->Args({10'000'000, time, 4000, 100});
    }
}

void registerComparedCases() {
    auto* bench = benchmark::RegisterBenchmark("BM_RenderCompared", BM_RenderCompared);
    bench->ArgNames({"records", "compare", "bytool", "from", "width"})
        ->Unit(benchmark::kMillisecond);
    for (const std::int64_t records : {1'000'000, 10'000'000})
        for (const std::int64_t compare : {0, 1, 2, 3}) {
            bench->Args({records, compare, 0, 0, 10000});
            bench->Args({records, compare, 0, 4000, 2000});
        }
    bench->Args({10'000'000, 0, 1, 0, 10000});
    bench->Args({10'000'000, 0, 1, 4000, 2000});
}

void renderCases(benchmark::internal::Benchmark* bench, std::int64_t records) {
    // Whole range and windows of 10 %, 1 % and 0.01 % at 40 % on each horizontal axis; the other
    // two quantities on the 1 % window; the windows at both ends.
    for (std::int64_t mode = 0; mode <= 2; ++mode) {
        bench->Args({records, mode, 0, 0, 10000});
        bench->Args({records, mode, 0, 4000, 1000});
        bench->Args({records, mode, 0, 4000, 100});
        bench->Args({records, mode, 0, 4000, 1});
    }
    bench->Args({records, 0, 1, 4000, 100});
    bench->Args({records, 0, 2, 4000, 100});
    bench->Args({records, 0, 0, 0, 100});
    bench->Args({records, 0, 0, 9900, 100});
    bench->Args({records, 2, 0, 9900, 100});
}

void registerRenderCases() {
    auto* bench = benchmark::RegisterBenchmark("BM_Render", BM_Render);
    bench->ArgNames({"records", "dist", "func", "from", "width"})->Unit(benchmark::kMillisecond);
    renderCases(bench, 1'000'000);
    renderCases(bench, 10'000'000);
    // About 6 GB of memory: only when asked for.
    if (std::getenv("PLOTWELL_BENCH_100M"))
        renderCases(bench, 100'000'000);
    registerComparedCases();
    registerTimeAxisCases();
}

} // namespace

int main(int argc, char** argv) {
    return runGuiBenchmarks(argc, argv, registerRenderCases);
}
