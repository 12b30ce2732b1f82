#include "generateddata.h"
#include "graphrenderer.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>

namespace {

constexpr std::int64_t kBlocks = 1'000'000;

const CutDataSet& benchData() {
    static const CutDataSet data = generatedData(kBlocks);
    return data;
}

// One render of the chart at 1000 x 600 into the same image, as the control repaints.
void renderWindow(benchmark::State& state, std::int32_t distanceMode, float lower, float upper) {
    const CutDataSet& data = benchData();
    if (data.count < kBlocks) {
        state.SkipWithError("generated data did not decode");
        return;
    }
    CCutGraph graph;
    graph.plotWidth = 1000;
    graph.plotHeight = 600;
    graph.distanceMode = distanceMode;
    graph.lowerPercent = lower;
    graph.upperPercent = upper;
    const GraphInputs inputs{&data, 0, "Cutting Movement Distance [mm]",
                             "Amount of Cutting Removal [mm3/mm]"};
    QImage image(graph.plotWidth, graph.plotHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        DrawGraph(image, graph, inputs);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["records"] = static_cast<double>(data.count);
}

void BM_RenderFull(benchmark::State& state) {
    renderWindow(state, 0, 0.0f, 100.0f);
}
void BM_RenderFullCuttingDistance(benchmark::State& state) {
    renderWindow(state, 1, 0.0f, 100.0f);
}
void BM_RenderFullBlockNumbers(benchmark::State& state) {
    renderWindow(state, 2, 0.0f, 100.0f);
}
// A window of 1 % of the range: at the start nothing is skipped; in the middle and at the end
// the first shown record is found by bisection and the skipped records' tools are walked.
void BM_RenderZoomStart(benchmark::State& state) {
    renderWindow(state, 0, 0.0f, 1.0f);
}
void BM_RenderZoomMiddle(benchmark::State& state) {
    renderWindow(state, 0, 50.0f, 51.0f);
}
void BM_RenderZoomEnd(benchmark::State& state) {
    renderWindow(state, 0, 99.0f, 100.0f);
}
void BM_RenderZoomEndBlockNumbers(benchmark::State& state) {
    renderWindow(state, 2, 99.0f, 100.0f);
}

BENCHMARK(BM_RenderFull)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderFullCuttingDistance)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderFullBlockNumbers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderZoomStart)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderZoomMiddle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderZoomEnd)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderZoomEndBlockNumbers)->Unit(benchmark::kMillisecond);

} // namespace

// Text needs a GUI application; a benchmark never needs a screen.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int guiArgc = 1;
    QGuiApplication application(guiArgc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
