#include "commandarguments.h"
#include "commands.h"
#include "series.h"
#include "viewoptions.h"

#include <cstdio>

namespace {

void printRecords(const CutDataSet& data, float g00Feed) {
    std::printf("i,toolNo,blockNo,motionCode,x,y,z,orgFeed,removalKind,removal,optFeed,"
                "totalDistance,cutDistance,series0,series1,series2\n");
    for (std::uint32_t i = 0; i < data.count; ++i) {
        const CutRecord& r = data.records[i];
        std::printf("%u,%d,%d,%u,%.9g,%.9g,%.9g,%d,%u,%.9g,%d,%.9g,%.9g,%.9g,%.9g,%.9g\n", i,
                    r.toolNo, r.blockNo, r.motionCode, r.x, r.y, r.z, r.orgFeed, r.removalKind,
                    r.removal, r.optFeed, data.totalDistance[i], data.cutDistance[i],
                    seriesValue(data, i, 0, g00Feed), seriesValue(data, i, 1, g00Feed),
                    seriesValue(data, i, 2, g00Feed));
    }
}

} // namespace

int runDump(const CommandArgumentList& arguments) {
    ChartState view = defaultViewChart();
    if (!readViewOptions(arguments, view))
        return kExitUsage;
    CutDataSet data;
    if (const int status = loadOperandFile(arguments, data); status != kExitOk)
        return status;
    printRecords(data, view.g00Feed);
    return finishOutput();
}
