// A 1,000,000-record chart at 1000 x 600 written as PNG (the screen's pixels), SVG and PDF
// (vector drawing) into memory: the time of one whole file and its size.

// First: the generator has a member named like a keyword that Qt headers define.
#include "generateddata.h"

#include "graphrenderer.h"
#include "guibenchmain.h"
#include "picturewriter.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

namespace {

constexpr std::int64_t kBlocks = 1'000'000;
constexpr int kWidth = 1000;
constexpr int kHeight = 600;

const CutDataSet& benchData() {
    static const CutDataSet data = generatedData(kBlocks);
    return data;
}

ChartState benchChart() {
    ChartState chart;
    chart.width = kWidth;
    chart.height = kHeight;
    chart.xTitle = "Cutting Movement Distance [mm]";
    chart.yTitle = "Amount of Cutting Removal [mm3/mm]";
    return chart;
}

// The chart drawn as `curvex render` draws it: its pixels for PNG, its vector drawing otherwise.
PictureWriter benchPicture(const ChartState& chart) {
    return PictureWriter(
        QStringLiteral("chart"), QSize(kWidth, kHeight),
        [&](QImage& image) {
            DrawGraph(image, chart, &benchData());
            return true;
        },
        [&](QPaintDevice& device) {
            QPainter painter(&device);
            DrawGraph(painter, chart, &benchData());
            return painter.end();
        });
}

void writeChart(benchmark::State& state, ChartFormat format) {
    if (benchData().count < kBlocks) {
        state.SkipWithError("generated data did not decode");
        return;
    }
    const ChartState chart = benchChart();
    qint64 bytes = 0;
    PictureWriter picture = benchPicture(chart);
    for (auto _ : state) {
        const QByteArray document = picture.document(format);
        if (document.isEmpty()) {
            state.SkipWithError("the chart could not be written");
            return;
        }
        bytes = document.size();
    }
    state.counters["file_bytes"] = static_cast<double>(bytes);
}

void BM_ChartFilePng(benchmark::State& state) {
    writeChart(state, ChartFormat::Png);
}
void BM_ChartFileSvg(benchmark::State& state) {
    writeChart(state, ChartFormat::Svg);
}
void BM_ChartFilePdf(benchmark::State& state) {
    writeChart(state, ChartFormat::Pdf);
}

BENCHMARK(BM_ChartFilePng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChartFileSvg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChartFilePdf)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return runGuiBenchmarks(argc, argv);
}
