#include "commands.h"
#include "feedchangeindex.h"
#include "outputclash.h"
#include "series.h"
#include "toolpathoptions.h"
#include "toolpathpick.h"
#include "toolpathrenderer.h"
#include "viewoptions.h"

#include <QImage>
#include <QPainter>

#include <chrono>
#include <cstdio>
#include <utility>
#include <vector>

namespace {

ToolpathFit fitOf(const ToolpathModel& model, const ToolpathSettings& settings,
                  const ToolpathView& view) {
    return ToolpathFit(model.box(), view, settings.chart.width, settings.chart.height);
}

std::uint32_t strideOf(const ToolpathModel& model, const ToolpathSettings& settings) {
    return settings.draft ? DraftStride(model.count()) : 1;
}

// Frame k turns the view by 3 degrees k times; the first frame fills the caches untimed.
void renderFrames(const ToolpathSettings& settings, const ToolpathModel& model,
                  const ToolpathRenderer& renderer, QImage& image) {
    ToolpathPixels pixels;
    const ToolpathView view(settings.view);
    const std::uint32_t stride = strideOf(model, settings);
    renderer.drawImage(image, fitOf(model, settings, view), pixels, stride);
    std::vector<double> millis;
    for (int k = 0; k < settings.frames; ++k) {
        const ToolpathFit fit = fitOf(model, settings, view.orbited(3.0 * k, 0.0));
        const auto start = std::chrono::steady_clock::now();
        renderer.drawImage(image, fit, pixels, stride);
        const std::chrono::duration<double, std::milli> spent =
            std::chrono::steady_clock::now() - start;
        millis.push_back(spent.count());
    }
    reportFrameTimes(std::move(millis));
}

int writePicture(const ToolpathSettings& settings, const ToolpathModel& model,
                 const ToolpathRenderer& renderer) {
    const ToolpathFit fit = fitOf(model, settings, ToolpathView(settings.view));
    PictureWriter picture(
        QStringLiteral("toolpath"), QSize(fit.width(), fit.height()),
        [&](QImage& image) {
            ToolpathPixels pixels;
            renderer.drawImage(image, fit, pixels, strideOf(model, settings));
            return true;
        },
        [&](QPaintDevice& device) {
            QPainter painter(&device);
            if (!painter.isActive())
                return false;
            renderer.paint(painter, fit);
            return painter.end();
        });
    return settings.output.write(picture);
}

// The pictures do not say how many segments are left out; standard error does, when some are.
void noteLeftOut(const ToolpathModel& model) {
    if (model.leftOut() > 0)
        std::fprintf(stderr, "curvex: segments left out: %u\n", model.leftOut());
}

int drawToolpath(const ToolpathSettings& settings, const CutDataSet& data) {
    const auto application = startOffscreenApplication();
    const ToolpathModel model(data);
    noteLeftOut(model);
    const ToolpathStyle style = settings.style(data);
    const ToolpathRenderer renderer(model, style);
    if (settings.frames > 0) {
        QImage image = frameImage(settings.chart.width, settings.chart.height);
        if (image.isNull())
            return kExitFailure;
        renderFrames(settings, model, renderer, image);
    }
    return settings.output.path.empty() ? kExitOk : writePicture(settings, model, renderer);
}

void printRecord(const CutDataSet& data, const ToolpathSettings& settings, std::uint32_t i) {
    const CutRecord& r = data.records[i];
    const auto series = settings.colour == ToolpathColourMode::Chart
                            ? settings.chart.drawMode
                            : static_cast<std::uint8_t>(static_cast<int>(settings.colour) - 1);
    const float value = settings.colour == ToolpathColourMode::FeedChange
                            ? FeedChangePercent(r)
                            : seriesValue(data, i, series, settings.chart.g00Feed);
    std::printf("%u,%d,%d,%u,%.9g,%.9g,%.9g,%d,%d,%u,%.9g,%.9g\n", i, r.blockNo, r.toolNo,
                r.motionCode, r.x, r.y, r.z, r.orgFeed, r.optFeed, r.removalKind, r.removal, value);
}

} // namespace

int runToolpath(const CommandArgumentList& arguments) {
    ToolpathSettings settings;
    if (!readToolpathSettings(arguments, settings))
        return kExitUsage;
    if (settings.frames == 0 && settings.output.path.empty()) {
        std::fprintf(stderr, "curvex: give the output file with -o OUT.png, OUT.svg or OUT.pdf\n");
        return kExitUsage;
    }
    if (const int status = refuseOverwrite(settings.output.path, arguments.operands);
        status != kExitOk)
        return status;
    CutDataSet data;
    if (const int status = loadOperandFile(arguments, data); status != kExitOk)
        return status;
    const auto times = attachTimeAxis(settings.chart, data);
    return drawToolpath(settings, data);
}

int runToolpathPick(const CommandArgumentList& arguments) {
    ToolpathSettings settings;
    double at[2] = {0.0, 0.0};
    if (!readToolpathSettings(arguments, settings) || !readToolpathPixel(arguments, at))
        return kExitUsage;
    CutDataSet data;
    if (const int status = loadOperandFile(arguments, data); status != kExitOk)
        return status;
    const auto times = attachTimeAxis(settings.chart, data);
    const ToolpathModel model(data);
    const auto picked = PickToolpathSegment(
        model, fitOf(model, settings, ToolpathView(settings.view)), at[0], at[1]);
    if (!picked) {
        std::fprintf(stderr, "curvex: no segment lies within 8 pixels of %g,%g\n", at[0], at[1]);
        return kExitFailure;
    }
    printRecord(data, settings, *picked);
    return finishOutput();
}
