#include "chartviewmembers.h"

#include "series.h"

#include <QVariantList>

bool ChartViewMembers::setCompareMode(ChartState& chart, std::int32_t mode) {
    if (mode < 0 || mode > 2)
        return false;
    chart.compareMode = static_cast<CompareMode>(mode);
    return true;
}

bool ChartViewMembers::setOption(ChartState& chart, std::int32_t option, bool on) {
    switch (option) {
    case ColourByTool:
        chart.colourByTool = on;
        return true;
    case Legend:
        chart.legend = on;
        return true;
    case FitHeight:
        chart.fitHeight = on;
        return true;
    default:
        return false;
    }
}

bool ChartViewMembers::option(const ChartState& chart, std::int32_t option) {
    switch (option) {
    case ColourByTool:
        return chart.colourByTool;
    case Legend:
        return chart.legend;
    case FitHeight:
        return chart.fitHeight;
    default:
        return false;
    }
}

QVariant ChartViewMembers::readOutPlace(const ChartState& chart, const CutDataSet& data,
                                        std::optional<std::uint32_t> marked) {
    if (!marked || *marked >= data.count || !data.hasData())
        return {};
    if (!elapsed_ || !elapsed_->builtFor(data))
        elapsed_.emplace(data);
    const ElapsedTime::Seconds seconds = elapsed_->atEndOf(*marked, chart.g00Feed);
    return QVariantList{static_cast<double>(horizontalValue(data, *marked, chart.distanceMode)),
                        seconds.programmed, seconds.optimised};
}
