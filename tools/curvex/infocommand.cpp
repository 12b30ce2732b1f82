#include "commandarguments.h"
#include "commands.h"

#include <cstdio>

int runInfo(const CommandArgumentList& arguments) {
    CutDataSet data;
    if (const int status = loadOperandFile(arguments, data); status != kExitOk)
        return status;
    const float total = data.count ? data.totalDistance.back() : 0.0f;
    const float cutting = data.count ? data.cutDistance.back() : 0.0f;
    std::printf("records: %u\n", data.count);
    std::printf("total distance: %.9g\n", total);
    std::printf("cutting distance: %.9g\n", cutting);
    std::printf("max removal: %.9g\n", data.maxRemoval());
    std::printf("max removal rate with programmed feed: %.9g\n", data.maxRateOrg());
    std::printf("max removal rate with optimised feed: %.9g\n", data.maxRateOpt());
    return finishOutput();
}
