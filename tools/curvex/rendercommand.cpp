#include "chartpicture.h"
#include "chartsettingsfile.h"
#include "commandarguments.h"
#include "commandoutput.h"
#include "commands.h"
#include "graphrenderer.h"
#include "outputclash.h"
#include "picturewriter.h"
#include "series.h"
#include "viewoptions.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

struct RenderSettings {
    ChartState chart = defaultViewChart();
    int frames = 0; // 0: one render, no timing
    std::string iniFile;
    PictureOutput output;
};

bool readSettings(const CommandArgumentList& arguments, RenderSettings& settings) {
    if (!readViewOptions(arguments, settings.chart) || !readFrames(arguments, settings.frames))
        return false;
    if (const std::string* ini = arguments.value("--ini"))
        settings.iniFile = *ini;
    if (const std::string* output = arguments.value("-o"))
        settings.output.path = *output;
    if (settings.frames == 0 && settings.output.path.empty()) {
        std::fprintf(stderr, "curvex: give the output file with -o OUT.png, OUT.svg or OUT.pdf\n");
        return false;
    }
    return settings.output.path.empty() || settings.output.readFormat();
}

// The chart of frame k: the shown range of `first` moved on by k hundredths of its width,
// starting again at 0 % when it would pass 100 %.
ChartState slideWindow(const ChartState& first, int k) {
    const double width = static_cast<double>(first.shown.upper) - first.shown.lower;
    const double room = 100.0 - width;
    double lower = first.shown.lower + 0.01 * width * k;
    if (!(room > 0.0))
        lower = first.shown.lower;
    else if (lower > room)
        lower = std::fmod(lower, room);
    ChartState chart = first;
    chart.shown.lower = static_cast<float>(lower);
    chart.shown.upper = static_cast<float>(lower + width);
    return chart;
}

// Renders `frames` frames into the same image and reports the median and the slowest on
// standard error; `chart` takes the last frame's range. The first render of a chart size fits
// the font to it and fills the glyph cache, once per size and process, as the program does on its
// first paint: that render comes before the timed ones.
void renderFrames(const RenderSettings& settings, const CutDataSet& data, ChartState& chart,
                  QImage& image) {
    DrawGraph(image, slideWindow(chart, 0), &data);
    const ChartState first = chart;
    std::vector<double> millis;
    for (int k = 0; k < settings.frames; ++k) {
        chart = slideWindow(first, k);
        const auto start = std::chrono::steady_clock::now();
        DrawGraph(image, chart, &data);
        const std::chrono::duration<double, std::milli> spent =
            std::chrono::steady_clock::now() - start;
        millis.push_back(spent.count());
    }
    reportFrameTimes(std::move(millis));
}

// The chart as the settings give it, with the texts and colours of `file`.
ChartState chartOf(const RenderSettings& settings, const ChartSettingsFile& file) {
    ChartState chart = settings.chart;
    file.apply(chart);
    return chart;
}

// The chart drawn as the graph control draws it: its pixels for PNG, its vector drawing for SVG
// and PDF.
int writePicture(const RenderSettings& settings, const CutDataSet& data, const ChartState& chart) {
    PictureWriter picture = ChartPicture(chart, data);
    return settings.output.write(picture);
}

int renderToFile(const RenderSettings& settings, const CutDataSet& data,
                 const ChartSettingsFile& file) {
    const auto application = startOffscreenApplication();

    ChartState chart = chartOf(settings, file);
    if (settings.frames > 0) {
        QImage image = frameImage(chart.width, chart.height);
        if (image.isNull())
            return kExitFailure;
        renderFrames(settings, data, chart, image);
        if (settings.output.path.empty())
            return kExitOk;
    }
    return writePicture(settings, data, chart);
}

} // namespace

int runRender(const CommandArgumentList& arguments) {
    RenderSettings settings;
    if (!readSettings(arguments, settings))
        return kExitUsage;
    std::vector<std::string> inputs = arguments.operands;
    inputs.push_back(settings.iniFile);
    if (const int status = refuseOverwrite(settings.output.path, inputs); status != kExitOk)
        return status;
    CutDataSet data;
    if (const int status = loadOperandFile(arguments, data); status != kExitOk)
        return status;
    const auto times = attachTimeAxis(settings.chart, data);
    ChartSettingsFile file;
    if (const int status = readSettingsFile(file, settings.iniFile); status != kExitOk)
        return status;
    return renderToFile(settings, data, file);
}
