#include "shownpeaks.h"

#include "chartframe.h"
#include "shownrecords.h"

namespace {

// The finder of the series the chart `view` shows, the optimised one of a compare chart and the
// absolute change of the feed-change chart.
PeakFinder shownSeries(const CutDataSet& data, const ChartState& view) {
    switch (view.compareMode) {
    case CompareMode::Rates:
        return PeakFinder(data, 2, view.g00Feed);
    case CompareMode::Feeds:
        return PeakFinder::ofOptimisedFeed(data);
    case CompareMode::FeedChange:
        return PeakFinder::ofAbsoluteFeedChange(data);
    default:
        return PeakFinder(data, view.drawMode, view.g00Feed);
    }
}

// The peaks with their values as the chart plots them: a feed change with its sign.
std::vector<Peak> asPlotted(const CutDataSet& data, const ChartState& view,
                            std::vector<Peak> peaks) {
    if (view.compareMode == CompareMode::FeedChange)
        for (Peak& peak : peaks)
            peak.value = FeedChangePercent(data.records[peak.index]);
    return peaks;
}

} // namespace

std::vector<Peak> ShownPeaks(const CutDataSet& data, const ChartState& view, std::uint32_t top,
                             std::uint32_t gap) {
    const RecordRange shown = ShownRecords(data, HorizontalOf(view), view.shown);
    return asPlotted(data, view, shownSeries(data, view).find(shown, top, gap));
}

std::vector<Peak> ShownToolPeaks(const CutDataSet& data, const ChartState& view,
                                 std::uint32_t perTool, std::uint32_t gap) {
    const RecordRange shown = ShownRecords(data, HorizontalOf(view), view.shown);
    return asPlotted(data, view, shownSeries(data, view).findPerTool(shown, perTool, gap));
}
