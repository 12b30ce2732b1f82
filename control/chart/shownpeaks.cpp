#include "shownpeaks.h"

#include "shownrecords.h"

namespace {

// The finder of the series the chart `view` shows, the optimised one of a compare chart.
PeakFinder shownSeries(const CutDataSet& data, const ChartState& view) {
    switch (view.compareMode) {
    case CompareMode::Rates:
        return PeakFinder(data, 2, view.g00Feed);
    case CompareMode::Feeds:
        return PeakFinder::ofOptimisedFeed(data);
    default:
        return PeakFinder(data, view.drawMode, view.g00Feed);
    }
}

} // namespace

std::vector<Peak> ShownPeaks(const CutDataSet& data, const ChartState& view, std::uint32_t top,
                             std::uint32_t gap) {
    return shownSeries(data, view)
        .find(ShownRecords(data, view.distanceMode, view.shown), top, gap);
}

std::vector<Peak> ShownToolPeaks(const CutDataSet& data, const ChartState& view,
                                 std::uint32_t perTool, std::uint32_t gap) {
    return shownSeries(data, view)
        .findPerTool(ShownRecords(data, view.distanceMode, view.shown), perTool, gap);
}
