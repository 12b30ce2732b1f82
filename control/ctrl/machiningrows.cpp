#include "machiningrows.h"

#include "curvexids.h"
#include "machiningtime.h"
#include "toolcolours.h"

#include <optional>

QVariant TimeRowVariant(const MachiningTimes& times, std::int16_t toolNo, std::uint16_t colours) {
    QVariantList row(curvex::TimeFieldCount);
    row[curvex::TimeToolNo] = static_cast<int>(toolNo);
    row[curvex::TimeColours] = static_cast<int>(colours);
    row[curvex::TimeRecords] = static_cast<qulonglong>(times.records);
    row[curvex::TimeCutLength] = times.cutLength;
    row[curvex::TimeRapidLength] = times.rapidLength;
    row[curvex::TimeProgrammed] = times.programmed;
    row[curvex::TimeOptimised] = times.optimised;
    row[curvex::TimeSaved] = times.saved;
    if (times.savedPercent)
        row[curvex::TimeSavedPercent] = *times.savedPercent;
    row[curvex::TimeNoFeedProgrammed] = static_cast<qulonglong>(times.noFeedProgrammed);
    row[curvex::TimeNoFeedOptimised] = static_cast<qulonglong>(times.noFeedOptimised);
    return row;
}

namespace {

// Tool row `index`, or nothing for an index without a row.
std::optional<ToolTimes> toolRow(const CutDataSet& data, std::int32_t index, double g00Feed) {
    const std::vector<ToolTimes> rows = ToolTimesOf(data, g00Feed);
    if (index < 0 || static_cast<std::size_t>(index) >= rows.size())
        return std::nullopt;
    return rows[static_cast<std::size_t>(index)];
}

} // namespace

QVariant ToolRowVariant(const CutDataSet& data, std::int32_t index, double g00Feed,
                        bool colourByTool) {
    const std::optional<ToolTimes> found = toolRow(data, index, g00Feed);
    if (!found)
        return {};
    const ToolTimes& row = *found;
    const auto byTool = static_cast<std::uint16_t>(1u << ToolColourNumber(row.toolNo));
    return TimeRowVariant(row.times, row.toolNo, colourByTool ? byTool : row.colours);
}

QVariant AirRowVariant(const MachiningTimes& times) {
    QVariantList row(curvex::AirFieldCount);
    row[curvex::AirLength] = times.airLength;
    row[curvex::AirProgrammed] = times.airProgrammed;
    row[curvex::AirOptimised] = times.airOptimised;
    return row;
}

QVariant ToolAirRowVariant(const CutDataSet& data, std::int32_t index, double g00Feed) {
    const std::optional<ToolTimes> row = toolRow(data, index, g00Feed);
    return row ? AirRowVariant(row->times) : QVariant();
}
