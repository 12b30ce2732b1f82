// A 1,000,000-record chart at 1000 x 600 written as PNG (the screen's pixels), SVG and PDF
// (vector drawing) into memory: the time of one whole file and its size.

// First: the generator has a member named like a keyword that Qt headers define.
#include "generateddata.h"

#include "chartdocument.h"
#include "graphrenderer.h"
#include "guibenchmain.h"

#include <benchmark/benchmark.h>

#include <QBuffer>
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

bool writePng(QBuffer& out, const ChartState& chart) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    DrawGraph(image, chart, &benchData());
    return image.save(&out, "PNG");
}

bool writeVector(QBuffer& out, const ChartState& chart, ChartFormat format) {
    return writeVectorChart(out, format, QSize(kWidth, kHeight), [&](QPaintDevice& device) {
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
    for (auto _ : state) {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        const bool written =
            format == ChartFormat::Png ? writePng(out, chart) : writeVector(out, chart, format);
        if (!written) {
            state.SkipWithError("the chart could not be written");
            return;
        }
        bytes = out.size();
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
