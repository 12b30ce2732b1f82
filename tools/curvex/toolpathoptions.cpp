#include "toolpathoptions.h"

#include "toolpathchartstyle.h"
#include "viewoptions.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

bool readNumber(const char* option, const char* text, double& value) {
    char* end = nullptr;
    value = std::strtod(text, &end);
    if (*text == '\0' || *end != '\0' || !std::isfinite(value)) {
        std::fprintf(stderr, "curvex: %s needs numbers, not '%s'\n", option, text);
        return false;
    }
    return true;
}

// Takes `option` and its two numbers out of the arguments.
bool takePair(CommandArguments args, const char* option, std::vector<char*>& rest,
              std::vector<double>& pair) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (std::string(args[i]) != option) {
            rest.push_back(args[i]);
            continue;
        }
        pair.assign(2, 0.0);
        if (i + 2 >= args.size() || !readNumber(option, args[i + 1], pair[0]) ||
            !readNumber(option, args[i + 2], pair[1])) {
            std::fprintf(stderr, "curvex: %s needs two numbers\n", option);
            return false;
        }
        i += 2;
    }
    return true;
}

bool readChoices(const CommandArgumentList& arguments, ToolpathSettings& settings) {
    const auto& values = arguments.values;
    if (const auto found = values.find("--view"); found != values.end()) {
        const auto view = ToolpathViewKindOf(found->second);
        if (!view) {
            std::fprintf(stderr, "curvex: --view needs top, front, right or iso, not '%s'\n",
                         found->second.c_str());
            return false;
        }
        settings.view = *view;
    }
    if (const auto found = values.find("--colour"); found != values.end()) {
        const auto colour = ToolpathColourModeOf(found->second);
        if (!colour) {
            std::fprintf(stderr,
                         "curvex: --colour needs chart, removal, rate-org or rate-opt, not '%s'\n",
                         found->second.c_str());
            return false;
        }
        settings.colour = *colour;
    }
    if (const auto found = values.find("--detail"); found != values.end()) {
        if (found->second != "draft" && found->second != "full") {
            std::fprintf(stderr, "curvex: --detail needs draft or full, not '%s'\n",
                         found->second.c_str());
            return false;
        }
        settings.draft = found->second == "draft";
    }
    if (!readFrames(values, settings.frames))
        return false;
    if (const auto found = values.find("-o"); found != values.end()) {
        settings.output.path = found->second;
        return settings.output.readFormat();
    }
    return true;
}

} // namespace

ChartState ToolpathSettings::defaultToolpathChart() {
    ChartState chart = defaultViewChart();
    chart.width = 800;
    chart.height = 600;
    return chart;
}

ToolpathStyle ToolpathSettings::style(const CutDataSet& data) const {
    return ToolpathStyleOf(chart, data, colour);
}

bool readToolpathSettings(CommandArguments args, const char* pairOption, std::vector<double>& pair,
                          CommandArgumentList& arguments, ToolpathSettings& settings) {
    std::vector<char*> ranged, rest;
    if (!takeRangeOption(args, ranged, settings.chart))
        return false;
    if (pairOption == nullptr)
        rest = ranged;
    else if (!takePair(CommandArguments(ranged.data(), ranged.size()), pairOption, rest, pair))
        return false;
    const auto parsed = parseCommandArguments(
        CommandArguments(rest.data(), rest.size()),
        {"--view", "--colour", "--size", "--dist", "--g00", "--detail", "--frames", "-o"});
    if (!parsed)
        return false;
    arguments = *parsed;
    return readViewOptions(arguments, settings.chart) && readChoices(arguments, settings);
}
