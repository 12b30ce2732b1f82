#include "chartframe.h"
#include "commandarguments.h"
#include "commands.h"
#include "durationtext.h"
#include "machiningtime.h"
#include "shownrecords.h"
#include "viewoptions.h"

#include <cstdio>
#include <string>
#include <vector>

// `curvex stats`: the machining times per tool and in total, as a table or as CSV.

namespace {

struct StatsSettings {
    bool csv = false;
    bool ranged = false;
    ChartState view = defaultViewChart();
};

struct Row {
    std::string tool;
    MachiningTimes times;
};

std::vector<Row> rowsOf(const CutDataSet& data, const StatsSettings& settings) {
    std::vector<Row> rows;
    std::vector<ToolTimes> tools;
    MachiningTimes total;
    if (settings.ranged) {
        const RecordRange range =
            ShownRecords(data, HorizontalOf(settings.view), settings.view.shown);
        tools = ToolTimesOf(data, range, settings.view.g00Feed);
        total = TimesOf(SumsOfRecords(data, range), settings.view.g00Feed);
    } else {
        tools = ToolTimesOf(data, settings.view.g00Feed);
        total = TotalTimesOf(data, settings.view.g00Feed);
    }
    for (const ToolTimes& tool : tools)
        rows.push_back({std::to_string(tool.toolNo), tool.times});
    rows.push_back({"total", total});
    return rows;
}

std::string percentText(const MachiningTimes& times, const char* format) {
    if (!times.savedPercent)
        return {};
    char text[64];
    std::snprintf(text, sizeof text, format, *times.savedPercent);
    return text;
}

void printCsv(const std::vector<Row>& rows) {
    std::printf("tool,records,cut_mm,rapid_mm,programmed_s,optimised_s,saved_s,saved_percent,"
                "no_feed_programmed,no_feed_optimised,air_mm,air_programmed_s,air_optimised_s\n");
    for (const Row& row : rows) {
        const MachiningTimes& t = row.times;
        std::printf("%s,%llu,%.3f,%.3f,%.3f,%.3f,%.3f,%s,%llu,%llu,%.3f,%.3f,%.3f\n",
                    row.tool.c_str(), static_cast<unsigned long long>(t.records), t.cutLength,
                    t.rapidLength, t.programmed, t.optimised, t.saved,
                    percentText(t, "%.2f").c_str(),
                    static_cast<unsigned long long>(t.noFeedProgrammed),
                    static_cast<unsigned long long>(t.noFeedOptimised), t.airLength,
                    t.airProgrammed, t.airOptimised);
    }
}

void printTable(const std::vector<Row>& rows) {
    const char* const kFormat = "%-6s %10s %13s %13s %12s %12s %12s %8s %10s %10s %13s %12s %12s\n";
    std::printf(kFormat, "tool", "records", "cut mm", "rapid mm", "programmed", "optimised",
                "saved", "saved %", "no feed", "no feed", "air mm", "air", "air");
    std::printf(kFormat, "", "", "", "", "", "", "", "", "programmed", "optimised", "",
                "programmed", "optimised");
    for (const Row& row : rows) {
        const MachiningTimes& t = row.times;
        char lengths[3][32];
        std::snprintf(lengths[0], sizeof lengths[0], "%.3f", t.cutLength);
        std::snprintf(lengths[1], sizeof lengths[1], "%.3f", t.rapidLength);
        std::snprintf(lengths[2], sizeof lengths[2], "%.3f", t.airLength);
        std::printf(kFormat, row.tool.c_str(), std::to_string(t.records).c_str(), lengths[0],
                    lengths[1], DurationText(t.programmed).c_str(),
                    DurationText(t.optimised).c_str(), DurationText(t.saved).c_str(),
                    percentText(t, "%.1f").c_str(), std::to_string(t.noFeedProgrammed).c_str(),
                    std::to_string(t.noFeedOptimised).c_str(), lengths[2],
                    DurationText(t.airProgrammed).c_str(), DurationText(t.airOptimised).c_str());
    }
}

} // namespace

int runStats(const CommandArgumentList& arguments) {
    StatsSettings settings;
    settings.ranged = arguments.has(kRangeOption.name);
    settings.csv = arguments.has("--csv");
    if (!readViewOptions(arguments, settings.view))
        return kExitUsage;
    CutDataSet data;
    if (const int status = loadOperandFile(arguments, data); status != kExitOk)
        return status;
    const auto times = attachTimeAxis(settings.view, data);
    const std::vector<Row> rows = rowsOf(data, settings);
    if (settings.csv)
        printCsv(rows);
    else
        printTable(rows);
    return finishOutput();
}
