#pragma once

#include "chartstate.h"
#include "elapsedtime.h"

#include <QVariant>

#include <cstdint>
#include <optional>

// The members of the control for the views a user switches on: the compare charts, the colours
// by tool number, the legend, fit height, and where the read-out's record lies along the axis and
// in the machining time.
class ChartViewMembers {
public:
    // A compare mode up to FeedChange; false for any other, the chart unchanged.
    static bool setCompareMode(ChartState& chart, std::int32_t mode);
    // False for a number that is no curvex::ChartOption.
    static bool setOption(ChartState& chart, std::int32_t option, bool on);
    static bool option(const ChartState& chart, std::int32_t option);

    // {position, elapsed programmed s, elapsed optimised s} of record `marked`: its place on the
    // horizontal axis and the machining time up to the end of its block; empty without a record.
    QVariant readOutPlace(const ChartState& chart, const CutDataSet& data,
                          std::optional<std::uint32_t> marked);

private:
    // Built once per data set, at the first read-out that needs it.
    std::optional<ElapsedTime> elapsed_;
};
