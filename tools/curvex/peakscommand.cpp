#include "commandarguments.h"
#include "commands.h"
#include "shownpeaks.h"
#include "viewoptions.h"

#include <cstdio>
#include <string>
#include <vector>

// `curvex peaks`: the highest peaks of what the chart shows, as a table or as CSV.

namespace {

struct PeakSettings {
    bool csv = false;
    std::uint64_t top = kDefaultPeakCount;
    std::uint64_t gap = kDefaultPeakGap;
};

// --gap G from 1 and --top K from 0.
bool readCounts(const CommandArgumentList& arguments, PeakSettings& settings) {
    return readOptionCount(arguments, "--gap", 1, settings.gap) &&
           readOptionCount(arguments, "--top", 0, settings.top);
}

void printPeaks(const CutDataSet& data, const std::vector<Peak>& peaks, bool csv) {
    const char* const format =
        csv ? "%zu,%u,%d,%d,%.9g,%d,%d,%.9g\n" : "%4zu %10u %10d %5d %15.9g %8d %8d %15.9g\n";
    if (csv)
        std::printf("rank,index,blockNo,toolNo,value,orgFeed,optFeed,removal\n");
    else
        std::printf("%4s %10s %10s %5s %15s %8s %8s %15s\n", "rank", "index", "block", "tool",
                    "value", "orgFeed", "optFeed", "removal");
    for (std::size_t k = 0; k < peaks.size(); ++k) {
        const CutRecord& r = data.records[peaks[k].index];
        std::printf(format, k + 1, peaks[k].index, r.blockNo, r.toolNo,
                    static_cast<double>(peaks[k].value), r.orgFeed, r.optFeed,
                    static_cast<double>(r.removal));
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
    printPeaks(data,
               ShownPeaks(data, view, static_cast<std::uint32_t>(settings.top),
                          static_cast<std::uint32_t>(settings.gap)),
               settings.csv);
    return finishOutput();
}
