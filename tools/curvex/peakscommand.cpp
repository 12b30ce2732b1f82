#include "chartframe.h"
#include "commandarguments.h"
#include "commands.h"
#include "series.h"
#include "shownpeaks.h"
#include "viewoptions.h"

#include <cstdio>
#include <string>
#include <vector>

// `curvex peaks`: the highest peaks of what the chart shows, or of each tool, as a table or as
// CSV.

namespace {

struct PeakSettings {
    bool csv = false;
    std::uint64_t top = kDefaultPeakCount;
    std::uint64_t gap = kDefaultPeakGap;
    // The peaks of each tool instead of the top ones, 0 for none.
    std::uint64_t perTool = 0;
};

// --gap G from 1, --top K from 0, or --per-tool K from 1 instead of --top.
bool readCounts(const CommandArgumentList& arguments, PeakSettings& settings) {
    if (arguments.has("--top") && arguments.has("--per-tool")) {
        std::fprintf(stderr, "curvex: --top and --per-tool exclude each other\n");
        return false;
    }
    return readOptionCount(arguments, "--gap", 1, settings.gap) &&
           readOptionCount(arguments, "--top", 0, settings.top) &&
           readOptionCount(arguments, "--per-tool", 1, settings.perTool);
}

// Ranks count from 1, within each tool for the peaks of each tool.
void printPeaks(const CutDataSet& data, const ChartState& view, const std::vector<Peak>& peaks,
                const PeakSettings& settings) {
    const bool csv = settings.csv;
    const char* const format = csv ? "%zu,%u,%d,%d,%.9g,%d,%d,%.9g,%.9g,%.9g,%.9g,%.9g\n"
                                   : "%4zu %10u %10d %5d %15.9g %8d %8d %15.9g %11.9g %11.9g "
                                     "%11.9g %13.9g\n";
    if (csv)
        std::printf("rank,index,blockNo,toolNo,value,orgFeed,optFeed,removal,x,y,z,position\n");
    else
        std::printf("%4s %10s %10s %5s %15s %8s %8s %15s %11s %11s %11s %13s\n", "rank", "index",
                    "block", "tool", "value", "orgFeed", "optFeed", "removal", "x", "y", "z",
                    "position");
    std::size_t rank = 0;
    for (std::size_t k = 0; k < peaks.size(); ++k) {
        const CutRecord& r = data.records[peaks[k].index];
        const bool sameTool = k > 0 && data.records[peaks[k - 1].index].toolNo == r.toolNo;
        rank = settings.perTool == 0 ? k + 1 : sameTool ? rank + 1 : 1;
        std::printf(format, rank, peaks[k].index, r.blockNo, r.toolNo,
                    static_cast<double>(peaks[k].value), r.orgFeed, r.optFeed,
                    static_cast<double>(r.removal), static_cast<double>(r.x),
                    static_cast<double>(r.y), static_cast<double>(r.z),
                    static_cast<double>(HorizontalOf(view).valueAt(data, peaks[k].index)));
    }
}

} // namespace

int runPeaks(const CommandArgumentList& arguments) {
    ChartState view = defaultViewChart();
    PeakSettings settings;
    settings.csv = arguments.has("--csv");
    if (!readViewOptions(arguments, view) || !readCounts(arguments, settings))
        return kExitUsage;
    CutDataSet data;
    if (const int status = loadOperandFile(arguments, data); status != kExitOk)
        return status;
    const auto times = attachTimeAxis(view, data);
    const auto gap = static_cast<std::uint32_t>(settings.gap);
    const std::vector<Peak> peaks =
        settings.perTool > 0
            ? ShownToolPeaks(data, view, static_cast<std::uint32_t>(settings.perTool), gap)
            : ShownPeaks(data, view, static_cast<std::uint32_t>(settings.top), gap);
    printPeaks(data, view, peaks, settings);
    return finishOutput();
}
