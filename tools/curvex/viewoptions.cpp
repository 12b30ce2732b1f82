#include "viewoptions.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace {

bool readSize(const std::string& text, ChartState& chart) {
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

bool readCompare(const std::string& text, ChartState& chart) {
    if (text == "rates" || text == "feeds") {
        chart.compareMode = text == "rates" ? CompareMode::Rates : CompareMode::Feeds;
        return true;
    }
    std::fprintf(stderr, "curvex: --compare needs rates or feeds, not '%s'\n", text.c_str());
    return false;
}

bool readColourBy(const std::string& text, ChartState& chart) {
    if (text == "tool") {
        chart.colourByTool = true;
        return true;
    }
    std::fprintf(stderr, "curvex: --colour-by needs tool, not '%s'\n", text.c_str());
    return false;
}

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

bool takeRangeOption(CommandArguments args, std::vector<char*>& rest, ChartState& chart) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (std::string(args[i]) != "--range") {
            rest.push_back(args[i]);
            continue;
        }
        if (i + 2 >= args.size()) {
            std::fprintf(stderr, "curvex: --range needs two values, LO and HI\n");
            return false;
        }
        if (!readOptionNumber("--range", args[i + 1], chart.shown.lower) ||
            !readOptionNumber("--range", args[i + 2], chart.shown.upper))
            return false;
        if (!(chart.shown.lower < chart.shown.upper)) {
            std::fprintf(stderr, "curvex: --range needs LO below HI, not '%s %s'\n", args[i + 1],
                         args[i + 2]);
            return false;
        }
        i += 2;
    }
    return true;
}

bool takeFlag(std::vector<char*>& args, const std::string& flag) {
    const auto taken = std::remove_if(args.begin(), args.end(),
                                      [&](const char* argument) { return argument == flag; });
    const bool found = taken != args.end();
    args.erase(taken, args.end());
    return found;
}

void takeViewSwitches(std::vector<char*>& args, ChartState& chart) {
    chart.legend = takeFlag(args, "--legend") || chart.legend;
    chart.fitHeight = takeFlag(args, "--fit-height") || chart.fitHeight;
}

bool readViewOptions(const CommandArgumentList& arguments, ChartState& chart) {
    const auto& values = arguments.values;
    if (const auto found = values.find("--size");
        found != values.end() && !readSize(found->second, chart))
        return false;
    if (const auto found = values.find("--func"); found != values.end()) {
        int function = 0;
        if (!readChoice("--func", found->second, function))
            return false;
        chart.drawMode = static_cast<std::uint8_t>(function);
    }
    if (const auto found = values.find("--dist");
        found != values.end() && !readChoice("--dist", found->second, chart.distanceMode))
        return false;
    if (const auto found = values.find("--g00");
        found != values.end() && !readOptionFeed("--g00", found->second, chart.g00Feed))
        return false;
    if (const auto found = values.find("--compare");
        found != values.end() && !readCompare(found->second, chart))
        return false;
    if (const auto found = values.find("--colour-by");
        found != values.end() && !readColourBy(found->second, chart))
        return false;
    return true;
}
