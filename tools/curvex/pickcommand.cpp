#include "chartframe.h"
#include "commandarguments.h"
#include "commands.h"
#include "elapsedtime.h"
#include "numerictext.h"
#include "recordpick.h"
#include "series.h"
#include "viewoptions.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace {

// Whether `text` is a whole number of any size, with or without "-".
bool wholeNumber(const std::string& text) {
    std::uint64_t magnitude = 0;
    const std::string_view digits = std::string_view(text).substr(text.starts_with('-') ? 1 : 0);
    return ReadCountText(digits, 0, UINT64_MAX, magnitude) != NumberReading::NotNumber;
}

// The pixel column given with --x, which lies in a chart `width` pixels wide.
bool readColumn(const CommandArgumentList& arguments, int width, int& column) {
    const std::string* text = arguments.value("--x");
    if (!text) {
        std::fprintf(stderr, "curvex: give the pixel column with --x PX\n");
        return false;
    }
    const bool read = readInteger(*text, column);
    if (!read && !wholeNumber(*text)) {
        std::fprintf(stderr, "curvex: --x needs a whole number, not '%s'\n", text->c_str());
        return false;
    }
    if (!read || column < 0 || column >= width) {
        std::fprintf(stderr, "curvex: --x needs a column from 0 to %d of the chart, not %s\n",
                     width - 1, text->c_str());
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
    std::printf(",%.9g,%.9g,%.9g", HorizontalOf(chart).valueAt(data, picked.index),
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
    const auto picked = PickReadOut(RecordPicker(data), data, chart, column);
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
