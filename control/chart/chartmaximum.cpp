#include "chartmaximum.h"

#include "machiningtime.h"
#include "plottedseries.h"

#include <algorithm>

namespace {

using Kind = PlottedSeries::Kind;

float fileMaximum(const ChartState& chart, const CutDataSet& data) {
    switch (chart.compareMode) {
    case CompareMode::Rates:
        return std::max(data.maxima[1], data.maxima[2]);
    case CompareMode::Feeds:
        return std::max(
            PlottedSeries(data, Kind::OrgFeed, chart.g00Feed).highestOver(0, data.count),
            PlottedSeries(data, Kind::OptFeed, chart.g00Feed).highestOver(0, data.count));
    default:
        return chart.drawMode < kMaximaCount ? data.maxima[chart.drawMode] : 0.0f;
    }
}

RecordRange shownRecords(const ChartState& chart, const CutDataSet& data, const ChartFrame& frame) {
    const HorizontalAxis axis = HorizontalOf(chart);
    const HorizontalArray xs(data, axis);
    const std::uint32_t first = firstShownRecord(data, xs, axis, frame.xLo);
    return {first, endOfShownRecords(data, xs, axis, first, frame.xHi)};
}

float shownMaximum(const ChartState& chart, const CutDataSet& data, const ChartFrame& frame) {
    const auto [first, end] = shownRecords(chart, data, frame);
    const auto highest = [&](Kind kind) {
        return PlottedSeries(data, kind, chart.g00Feed).highestOver(first, end);
    };
    switch (chart.compareMode) {
    case CompareMode::Rates:
        return std::max(highest(Kind::OrgRate), highest(Kind::OptRate));
    case CompareMode::Feeds:
        return std::max(highest(Kind::OrgFeed), highest(Kind::OptFeed));
    default:
        return highest(PlottedSeries::ofDrawMode(chart.drawMode));
    }
}

} // namespace

float ChartMaximum(const ChartState& chart, const CutDataSet& data, const ChartFrame& frame) {
    if (chart.fitHeight && DrawsCurve(HorizontalOf(chart)))
        return shownMaximum(chart, data, frame);
    return fileMaximum(chart, data);
}

ValueRange ChartChangeRange(const ChartState& chart, const CutDataSet& data,
                            const ChartFrame& frame) {
    const PlottedSeries change(data, Kind::FeedChange, chart.g00Feed);
    if (!chart.fitHeight || !DrawsCurve(HorizontalOf(chart)))
        return change.changeIndex()->extremes();
    const auto [first, end] = shownRecords(chart, data, frame);
    return change.rangeOver(first, end);
}
