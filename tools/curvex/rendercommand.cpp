#include "commandarguments.h"
#include "commands.h"
#include "curvexmodule.h"
#include "graphrenderer.h"
#include "series.h"
#include "viewoptions.h"

#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct RenderSettings {
    ViewOptions view;
    std::string iniFile;
    std::string output;
};

bool readSettings(const CommandArgumentList& arguments, RenderSettings& settings) {
    if (!readViewOptions(arguments, settings.view))
        return false;
    const auto& values = arguments.values;
    if (const auto found = values.find("--ini"); found != values.end())
        settings.iniFile = found->second;
    const auto output = values.find("-o");
    if (output == values.end() || output->second.empty()) {
        std::fprintf(stderr, "curvex: give the output file with -o OUT.png\n");
        return false;
    }
    settings.output = output->second;
    return true;
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
    DrawGraph(image, graph, moduleGraphInputs(graph));
    if (!image.save(QString::fromLocal8Bit(settings.output.c_str()), "PNG")) {
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
                              {"--size", "--func", "--dist", "--g00", "--ini", "-o"});
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
