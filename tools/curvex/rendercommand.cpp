#include "commandarguments.h"
#include "commands.h"
#include "curvexmodule.h"
#include "graphrenderer.h"
#include "series.h"
#include "viewoptions.h"

#include <QGuiApplication>
#include <QImage>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct RenderSettings {
    ViewOptions view;
    int frames = 0; // 0: one render, no timing
    std::string iniFile;
    std::string output;
};

bool readSettings(const CommandArgumentList& arguments, RenderSettings& settings) {
    if (!readViewOptions(arguments, settings.view))
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
        std::fprintf(stderr, "curvex: give the output file with -o OUT.png\n");
        return false;
    }
    return true;
}

// The shown window of frame k: the first one moved on by k hundredths of its width, starting
// again at 0 % when it would pass 100 %.
void slideWindow(const ViewOptions& view, int k, CCutGraph& graph) {
    const double width = static_cast<double>(view.upperPercent) - view.lowerPercent;
    const double room = 100.0 - width;
    double lower = view.lowerPercent + 0.01 * width * k;
    if (!(room > 0.0))
        lower = view.lowerPercent;
    else if (lower > room)
        lower = std::fmod(lower, room);
    graph.lowerPercent = static_cast<float>(lower);
    graph.upperPercent = static_cast<float>(lower + width);
}

// Renders `frames` frames into the same image and reports the median and the slowest on
// standard error.
void renderFrames(const RenderSettings& settings, CCutGraph& graph, QImage& image) {
    std::vector<double> millis;
    for (int k = 0; k < settings.frames; ++k) {
        slideWindow(settings.view, k, graph);
        const auto start = std::chrono::steady_clock::now();
        DrawGraph(image, graph, moduleGraphInputs(graph));
        const std::chrono::duration<double, std::milli> spent =
            std::chrono::steady_clock::now() - start;
        millis.push_back(spent.count());
    }
    std::sort(millis.begin(), millis.end());
    const std::size_t n = millis.size();
    const double median = n % 2 ? millis[n / 2] : (millis[n / 2 - 1] + millis[n / 2]) / 2.0;
    std::fprintf(stderr, "frames: %zu  median ms: %.3f  max ms: %.3f\n", n, median, millis.back());
}

// Fonts need a GUI application; a render never needs a screen.
int renderToFile(const RenderSettings& settings) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "curvex";
    static char* argv[] = {name, nullptr};
    QGuiApplication application(argc, argv);

    const ViewOptions& view = settings.view;
    CurvexModule& module = curvexModule();
    CCutGraph graph;
    graph.drawModeMask = 1 << view.function;
    module.primaryDrawMode = PrimaryDrawModeFromMask(graph.drawModeMask, module.primaryDrawMode);
    graph.distanceMode = view.distanceMode;
    graph.lowerPercent = view.lowerPercent;
    graph.upperPercent = view.upperPercent;
    graph.g00Feed = view.g00Feed;
    graph.plotWidth = view.width;
    graph.plotHeight = view.height;

    QImage image(view.width, view.height, QImage::Format_RGB32);
    if (image.isNull()) {
        std::fprintf(stderr, "curvex: not enough memory for a %dx%d image\n", view.width,
                     view.height);
        return kExitFailure;
    }
    if (settings.frames > 0)
        renderFrames(settings, graph, image);
    else
        DrawGraph(image, graph, moduleGraphInputs(graph));
    if (!settings.output.empty() &&
        !image.save(QString::fromLocal8Bit(settings.output.c_str()), "PNG")) {
        std::fprintf(stderr, "curvex: cannot write %s\n", settings.output.c_str());
        return kExitOutput;
    }
    return kExitOk;
}

} // namespace

int runRender(CommandArguments args) {
    RenderSettings settings;
    std::vector<char*> rest;
    if (!takeRangeOption(args, rest, settings.view))
        return kExitUsage;
    const auto arguments =
        parseCommandArguments(CommandArguments(rest.data(), rest.size()),
                              {"--size", "--func", "--dist", "--g00", "--ini", "--frames", "-o"});
    if (!arguments || !readSettings(*arguments, settings))
        return kExitUsage;
    CurvexModule& module = curvexModule();
    if (const int status = loadOperandFile(*arguments, module.data); status != kExitOk)
        return status;
    if (!settings.iniFile.empty() && !module.titles.SetIniFileName(settings.iniFile)) {
        std::fprintf(stderr, "curvex: cannot use the settings file %s\n", settings.iniFile.c_str());
        return kExitUsage;
    }
    return renderToFile(settings);
}
