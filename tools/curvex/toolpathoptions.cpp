#include "toolpathoptions.h"

#include "commandarguments.h"
#include "toolpathchartstyle.h"
#include "viewoptions.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

bool readChoices(const CommandArgumentList& arguments, ToolpathSettings& settings) {
    if (const std::string* text = arguments.value("--view")) {
        const auto view = ToolpathViewKindOf(*text);
        if (!view) {
            std::fprintf(stderr, "curvex: --view needs top, front, right or iso, not '%s'\n",
                         text->c_str());
            return false;
        }
        settings.view = *view;
    }
    if (const std::string* text = arguments.value("--colour")) {
        const auto colour = ToolpathColourModeOf(*text);
        if (!colour) {
            std::fprintf(
                stderr,
                "curvex: --colour needs chart, removal, rate-org, rate-opt or change, not '%s'\n",
                text->c_str());
            return false;
        }
        settings.colour = *colour;
    }
    if (const std::string* text = arguments.value("--detail")) {
        if (*text != "draft" && *text != "full") {
            std::fprintf(stderr, "curvex: --detail needs draft or full, not '%s'\n", text->c_str());
            return false;
        }
        settings.draft = *text == "draft";
    }
    if (!readFrames(arguments, settings.frames))
        return false;
    if (const std::string* output = arguments.value("-o")) {
        settings.output.path = *output;
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

bool readToolpathSettings(const CommandArgumentList& arguments, ToolpathSettings& settings) {
    return readViewOptions(arguments, settings.chart) && readChoices(arguments, settings);
}

bool readToolpathPixel(const CommandArgumentList& arguments, double (&at)[2]) {
    const auto found = arguments.options.find("--at");
    if (found == arguments.options.end()) {
        std::fprintf(stderr, "curvex: give the pixel with --at PX PY\n");
        return false;
    }
    for (int k = 0; k < 2; ++k) {
        float pixel = 0.0f;
        if (readOptionNumber("--at", found->second[k], pixel)) {
            at[k] = pixel;
        } else {
            std::fprintf(stderr, "curvex: --at needs two numbers\n");
            return false;
        }
    }
    return true;
}
