#include "viewoptions.h"

#include <charconv>
#include <cstdio>
#include <vector>

namespace {

using Values = std::vector<std::string>;

bool readSize(const Values& values, ChartState& chart) {
    const std::string& text = values.front();
    const std::size_t cross = text.find('x');
    if (cross == std::string::npos || !readInteger(text.substr(0, cross), chart.width) ||
        !readInteger(text.substr(cross + 1), chart.height) || chart.width < 1 || chart.height < 1 ||
        chart.width > curvex::kMaxChartSide || chart.height > curvex::kMaxChartSide) {
        std::fprintf(stderr, "curvex: --size needs WxH with sides from 1 to %d, not '%s'\n",
                     curvex::kMaxChartSide, text.c_str());
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

bool readFunc(const Values& values, ChartState& chart) {
    int function = 0;
    if (!readChoice(kFuncOption.name, values.front(), function))
        return false;
    chart.drawMode = static_cast<std::uint8_t>(function);
    return true;
}

bool readDist(const Values& values, ChartState& chart) {
    return readChoice(kDistOption.name, values.front(), chart.distanceMode);
}

bool readTime(const Values& values, ChartState& chart) {
    const std::string& text = values.front();
    if (text == "programmed" || text == "optimised") {
        chart.timeAxis = text == "programmed" ? curvex::TimeAxisMode::Programmed
                                              : curvex::TimeAxisMode::Optimised;
        return true;
    }
    std::fprintf(stderr, "curvex: --time needs programmed or optimised, not '%s'\n", text.c_str());
    return false;
}

bool readRange(const Values& values, ChartState& chart) {
    if (!readOptionNumber(kRangeOption.name, values[0], chart.shown.lower) ||
        !readOptionNumber(kRangeOption.name, values[1], chart.shown.upper))
        return false;
    if (!(chart.shown.lower < chart.shown.upper)) {
        std::fprintf(stderr, "curvex: --range needs LO below HI, not '%s %s'\n", values[0].c_str(),
                     values[1].c_str());
        return false;
    }
    return true;
}

bool readG00(const Values& values, ChartState& chart) {
    return readOptionFeed(kG00Option.name, values.front(), chart.g00Feed);
}

bool readCompare(const Values& values, ChartState& chart) {
    const std::string& text = values.front();
    if (text == "rates" || text == "feeds" || text == "change") {
        chart.compareMode = text == "rates"   ? CompareMode::Rates
                            : text == "feeds" ? CompareMode::Feeds
                                              : CompareMode::FeedChange;
        return true;
    }
    std::fprintf(stderr, "curvex: --compare needs rates, feeds or change, not '%s'\n",
                 text.c_str());
    return false;
}

bool readColourBy(const Values& values, ChartState& chart) {
    if (values.front() == "tool") {
        chart.colourByTool = true;
        return true;
    }
    std::fprintf(stderr, "curvex: --colour-by needs tool, not '%s'\n", values.front().c_str());
    return false;
}

bool readLegend(const Values&, ChartState& chart) {
    chart.legend = true;
    return true;
}

bool readFitHeight(const Values&, ChartState& chart) {
    chart.fitHeight = true;
    return true;
}

// Each view option with what sets it, in the order they are checked.
struct ViewOptionReader {
    const CommandOption& option;
    bool (*read)(const Values& values, ChartState& chart);
};

const ViewOptionReader kViewOptionReaders[] = {
    {kRangeOption, readRange},         {kSizeOption, readSize},         {kFuncOption, readFunc},
    {kDistOption, readDist},           {kTimeOption, readTime},         {kG00Option, readG00},
    {kCompareOption, readCompare},     {kColourByOption, readColourBy}, {kLegendOption, readLegend},
    {kFitHeightOption, readFitHeight},
};

} // namespace

ChartState defaultViewChart() {
    ChartState chart;
    chart.width = 1000;
    chart.height = 600;
    return chart;
}

bool readInteger(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return !text.empty() && ec == std::errc() && ptr == end;
}

bool readViewOptions(const CommandArgumentList& arguments, ChartState& chart) {
    if (arguments.has(kDistOption.name) && arguments.has(kTimeOption.name)) {
        std::fprintf(stderr, "curvex: give either --dist or --time, not both\n");
        return false;
    }
    for (const auto& [option, read] : kViewOptionReaders) {
        const auto found = arguments.options.find(option.name);
        if (found != arguments.options.end() && !read(found->second, chart))
            return false;
    }
    return true;
}

std::unique_ptr<TimeAxisValues> attachTimeAxis(ChartState& chart, const CutDataSet& data) {
    if (chart.timeAxis == curvex::TimeAxisMode::Off)
        return nullptr;
    auto times = std::make_unique<TimeAxisValues>(data, chart.timeAxis, chart.g00Feed);
    chart.timeValues = times.get();
    return times;
}
