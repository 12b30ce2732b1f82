#include "axistitles.h"
#include "chartdocument.h"
#include "commandarguments.h"
#include "commands.h"
#include "drawingcolours.h"
#include "fontapplication.h"
#include "graphrenderer.h"
#include "series.h"
#include "viewoptions.h"

#include <QBuffer>
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
#include <vector>

namespace {

struct RenderSettings {
    ChartState chart = defaultViewChart();
    int frames = 0; // 0: one render, no timing
    std::string iniFile;
    std::string output;
    ChartFormat format = ChartFormat::Png;
};

// "-o -" writes the PNG to standard output.
bool toStandardOutput(const RenderSettings& settings) {
    return settings.output == "-";
}

bool readFormat(RenderSettings& settings) {
    const auto format = chartFormatOf(QString::fromLocal8Bit(settings.output.c_str()));
    if (!format) {
        std::fprintf(stderr,
                     "curvex: the output file must end in .png, .svg or .pdf (or be - for PNG on "
                     "standard output), not '%s'\n",
                     settings.output.c_str());
        return false;
    }
    settings.format = *format;
    return true;
}

bool readSettings(const CommandArgumentList& arguments, RenderSettings& settings) {
    if (!readViewOptions(arguments, settings.chart))
        return false;
    const auto& values = arguments.values;
    if (const auto found = values.find("--frames");
        found != values.end() &&
        (!readInteger(found->second, settings.frames) || settings.frames < 1)) {
        std::fprintf(stderr, "curvex: --frames needs a count of 1 or more, not '%s'\n",
                     found->second.c_str());
        return false;
    }
    if (const auto found = values.find("--ini"); found != values.end())
        settings.iniFile = found->second;
    const auto output = values.find("-o");
    if (output != values.end())
        settings.output = output->second;
    if (settings.frames == 0 && settings.output.empty()) {
        std::fprintf(stderr, "curvex: give the output file with -o OUT.png, OUT.svg or OUT.pdf\n");
        return false;
    }
    return settings.output.empty() || toStandardOutput(settings) || readFormat(settings);
}

// The chart of frame k: the shown range of `first` moved on by k hundredths of its width,
// starting again at 0 % when it would pass 100 %.
ChartState slideWindow(const ChartState& first, int k) {
    const double width = static_cast<double>(first.upperPercent) - first.lowerPercent;
    const double room = 100.0 - width;
    double lower = first.lowerPercent + 0.01 * width * k;
    if (!(room > 0.0))
        lower = first.lowerPercent;
    else if (lower > room)
        lower = std::fmod(lower, room);
    ChartState chart = first;
    chart.lowerPercent = static_cast<float>(lower);
    chart.upperPercent = static_cast<float>(lower + width);
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
    std::sort(millis.begin(), millis.end());
    const std::size_t n = millis.size();
    const double median = n % 2 ? millis[n / 2] : (millis[n / 2 - 1] + millis[n / 2]) / 2.0;
    std::fprintf(stderr, "frames: %zu  median ms: %.3f  max ms: %.3f\n", n, median, millis.back());
}

// The chart as the settings give it, with the axis titles of `titles`.
ChartState chartOf(const RenderSettings& settings, const AxisTitles& titles) {
    ChartState chart = settings.chart;
    chart.xTitle = titles.horizontalTitle(chart.distanceMode);
    chart.yTitle = titles.verticalTitle(chart.drawMode);
    if (!settings.iniFile.empty())
        readDrawingColours(settings.iniFile, chart);
    return chart;
}

int cannotWrite(const RenderSettings& settings, const std::string& reason) {
    std::fprintf(stderr, "curvex: cannot write %s: %s\n",
                 toStandardOutput(settings) ? "to standard output" : settings.output.c_str(),
                 reason.c_str());
    return kExitOutput;
}

// Writes the finished document to standard output, or replaces the output file with it in one
// step, so that a failed write keeps an older file whole.
int writeOutput(const RenderSettings& settings, const QByteArray& document) {
    if (!toStandardOutput(settings)) {
        const std::string reason = replaceChartFile(settings.output, document);
        return reason.empty() ? kExitOk : cannotWrite(settings, reason);
    }
    const auto size = static_cast<std::size_t>(document.size());
    if (std::fwrite(document.constData(), 1, size, stdout) != size || std::fflush(stdout) != 0)
        return cannotWrite(settings, std::strerror(errno));
    return kExitOk;
}

// An image of the chart's size, or null after saying that there is no memory for it.
QImage chartImage(const ChartState& chart) {
    QImage image(chart.width, chart.height, QImage::Format_RGB32);
    if (image.isNull())
        std::fprintf(stderr, "curvex: not enough memory for a %dx%d image\n", chart.width,
                     chart.height);
    return image;
}

int writePng(const RenderSettings& settings, const CutDataSet& data, const ChartState& chart) {
    QImage image = chartImage(chart);
    if (image.isNull())
        return kExitFailure;
    DrawGraph(image, chart, &data);
    QBuffer document;
    if (!document.open(QIODevice::WriteOnly) || !image.save(&document, "PNG"))
        return cannotWrite(settings, "the PNG image could not be made");
    return writeOutput(settings, document.data());
}

int writeVector(const RenderSettings& settings, const CutDataSet& data, const ChartState& chart) {
    QBuffer document;
    document.open(QIODevice::WriteOnly);
    const bool written = writeVectorChart(
        document, settings.format, QSize(chart.width, chart.height), [&](QPaintDevice& device) {
            QPainter painter(&device);
            if (!painter.isActive())
                return false;
            DrawGraph(painter, chart, &data);
            return painter.end();
        });
    if (!written)
        return cannotWrite(settings, "the chart could not be drawn");
    return writeOutput(settings, document.data());
}

int renderToFile(const RenderSettings& settings, const CutDataSet& data, const AxisTitles& titles) {
    const auto application = startFontApplication();

    ChartState chart = chartOf(settings, titles);
    if (settings.frames > 0) {
        QImage image = chartImage(chart);
        if (image.isNull())
            return kExitFailure;
        renderFrames(settings, data, chart, image);
        if (settings.output.empty())
            return kExitOk;
    }
    return settings.format == ChartFormat::Png ? writePng(settings, data, chart)
                                               : writeVector(settings, data, chart);
}

} // namespace

int runRender(CommandArguments args) {
    RenderSettings settings;
    std::vector<char*> rest;
    if (!takeRangeOption(args, rest, settings.chart))
        return kExitUsage;
    const auto arguments =
        parseCommandArguments(CommandArguments(rest.data(), rest.size()),
                              {"--size", "--func", "--dist", "--g00", "--ini", "--frames", "-o"});
    if (!arguments || !readSettings(*arguments, settings))
        return kExitUsage;
    CutDataSet data;
    if (const int status = loadOperandFile(*arguments, data); status != kExitOk)
        return status;
    AxisTitles titles;
    if (!settings.iniFile.empty() && !titles.SetIniFileName(settings.iniFile)) {
        std::fprintf(stderr, "curvex: cannot use the settings file %s\n", settings.iniFile.c_str());
        return kExitUsage;
    }
    if (const int error = titles.defaultsWriteError(); error != 0)
        return cannotWriteSettings(settings.iniFile, error);
    return renderToFile(settings, data, titles);
}
