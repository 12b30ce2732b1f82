#include "chartframe.h"
#include "commandarguments.h"
#include "commands.h"
#include "elapsedtime.h"
#include "recordpick.h"
#include "series.h"
#include "viewoptions.h"

#include <cstdio>
#include <string>

namespace {

// The pixel column given with --x, which lies in a chart `width` pixels wide.
bool readColumn(const CommandArgumentList& arguments, int width, int& column) {
    const std::string* text = arguments.value("--x");
    if (!text) {
        std::fprintf(stderr, "curvex: give the pixel column with --x PX\n");
        return false;
    }
    if (!readInteger(*text, column)) {
        std::fprintf(stderr, "curvex: --x needs a whole number, not '%s'\n", text->c_str());
        return false;
    }
    if (column < 0 || column >= width) {
        std::fprintf(stderr, "curvex: --x needs a column from 0 to %d of the chart, not %d\n",
                     width - 1, column);
        return false;
    }
    return true;
}

void printPick(const CutDataSet& data, const PickedRecord& picked) {
    const CutRecord& r = data.records[picked.index];
    std::printf("%u,%d,%d,%u,%.9g,%.9g,%.9g,%d,%d,%u,%.9g,%.9g", picked.index, r.blockNo, r.toolNo,
                r.motionCode, r.x, r.y, r.z, r.orgFeed, r.optFeed, r.removalKind, r.removal,
                picked.value);
}

// ",position,elapsed_programmed_s,elapsed_optimised_s" of the picked record.
void printElapsed(const CutDataSet& data, const ChartState& chart, const PickedRecord& picked) {
    const ElapsedTime::Seconds elapsed = ElapsedTime(data).atEndOf(picked.index, chart.g00Feed);
    std::printf(",%.9g,%.17g,%.17g", HorizontalOf(chart).valueAt(data, picked.index),
                elapsed.programmed, elapsed.optimised);
}

} // namespace

int runPick(const CommandArgumentList& arguments) {
    ChartState chart = defaultViewChart();
    int column = 0;
    if (!readViewOptions(arguments, chart) || !readColumn(arguments, chart.width, column))
        return kExitUsage;
    CutDataSet data;
    if (const int status = loadOperandFile(arguments, data); status != kExitOk)
        return status;
    const auto times = attachTimeAxis(chart, data);
    const auto picked = RecordPicker(data).pick(chart, column);
    if (!picked) {
        std::fprintf(stderr, "curvex: the chart draws no record\n");
        return kExitFailure;
    }
    printPick(data, *picked);
    if (arguments.has("--elapsed"))
        printElapsed(data, chart, *picked);
    std::printf("\n");
    return finishOutput();
}
