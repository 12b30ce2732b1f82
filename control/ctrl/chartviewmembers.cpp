#include "chartviewmembers.h"

#include "chartframe.h"
#include "series.h"

#include <QVariantList>

bool ChartViewMembers::setCompareMode(ChartState& chart, std::int32_t mode) {
    if (mode < static_cast<std::int32_t>(CompareMode::None) ||
        mode > static_cast<std::int32_t>(CompareMode::FeedChange))
        return false;
    chart.compareMode = static_cast<CompareMode>(mode);
    return true;
}

bool ChartViewMembers::setOption(ChartState& chart, std::int32_t option, bool on) {
    switch (static_cast<curvex::ChartOption>(option)) {
    case curvex::ChartOption::ColourByTool:
        chart.colourByTool = on;
        return true;
    case curvex::ChartOption::Legend:
        chart.legend = on;
        return true;
    case curvex::ChartOption::FitHeight:
        chart.fitHeight = on;
        return true;
    default:
        return false;
    }
}

bool ChartViewMembers::option(const ChartState& chart, std::int32_t option) {
    switch (static_cast<curvex::ChartOption>(option)) {
    case curvex::ChartOption::ColourByTool:
        return chart.colourByTool;
    case curvex::ChartOption::Legend:
        return chart.legend;
    case curvex::ChartOption::FitHeight:
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
    return QVariantList{static_cast<double>(HorizontalOf(chart).valueAt(data, *marked)),
                        seconds.programmed, seconds.optimised};
}
