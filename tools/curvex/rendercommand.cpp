#include "commandarguments.h"
#include "commands.h"
#include "curvexmodule.h"
#include "graphrenderer.h"
#include "series.h"

#include <QGuiApplication>
#include <QImage>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kMaxSide = 16384;

struct RenderSettings {
    int width = 1000;
    int height = 600;
    int function = 0;
    int distanceMode = 0;
    float lowerPercent = 0.0f;
    float upperPercent = 100.0f;
    float g00Feed = 5000.0f;
    std::string iniFile;
    std::string output;
};

bool readInteger(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return !text.empty() && ec == std::errc() && ptr == end;
}

bool readSize(const std::string& text, RenderSettings& settings) {
    const std::size_t cross = text.find('x');
    if (cross == std::string::npos || !readInteger(text.substr(0, cross), settings.width) ||
        !readInteger(text.substr(cross + 1), settings.height) || settings.width < 1 ||
        settings.height < 1 || settings.width > kMaxSide || settings.height > kMaxSide) {
        std::fprintf(stderr, "curvex: --size needs WxH with sides from 1 to %d, not '%s'\n",
                     kMaxSide, text.c_str());
        return false;
    }
    return true;
}

bool readChoice(const std::string& option, const std::string& text, int& value) {
    if (!readInteger(text, value) || value < 0 || value > 2) {
        std::fprintf(stderr, "curvex: %s needs 0, 1 or 2, not '%s'\n", option.c_str(),
                     text.c_str());
        return false;
    }
    return true;
}

// Takes --range LO HI out of the arguments, as it is the one option with two values.
bool takeRange(CommandArguments args, std::vector<char*>& rest, RenderSettings& settings) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (std::string(args[i]) != "--range") {
            rest.push_back(args[i]);
            continue;
        }
        if (i + 2 >= args.size()) {
            std::fprintf(stderr, "curvex: --range needs two values, LO and HI\n");
            return false;
        }
        if (!readOptionNumber("--range", args[i + 1], settings.lowerPercent) ||
            !readOptionNumber("--range", args[i + 2], settings.upperPercent))
            return false;
        i += 2;
    }
    return true;
}

bool readSettings(const CommandArgumentList& arguments, RenderSettings& settings) {
    const auto& values = arguments.values;
    if (const auto found = values.find("--size");
        found != values.end() && !readSize(found->second, settings))
        return false;
    if (const auto found = values.find("--func");
        found != values.end() && !readChoice("--func", found->second, settings.function))
        return false;
    if (const auto found = values.find("--dist");
        found != values.end() && !readChoice("--dist", found->second, settings.distanceMode))
        return false;
    if (const auto found = values.find("--g00");
        found != values.end() && !readOptionNumber("--g00", found->second, settings.g00Feed))
        return false;
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

    CurvexModule& module = curvexModule();
    CCutGraph graph;
    graph.drawModeMask = 1 << settings.function;
    module.primaryDrawMode = PrimaryDrawModeFromMask(graph.drawModeMask, module.primaryDrawMode);
    graph.distanceMode = settings.distanceMode;
    graph.lowerPercent = settings.lowerPercent;
    graph.upperPercent = settings.upperPercent;
    graph.g00Feed = settings.g00Feed;
    graph.plotWidth = settings.width;
    graph.plotHeight = settings.height;

    QImage image(settings.width, settings.height, QImage::Format_RGB32);
    if (image.isNull()) {
        std::fprintf(stderr, "curvex: not enough memory for a %dx%d image\n", settings.width,
                     settings.height);
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
    if (!takeRange(args, rest, settings))
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
