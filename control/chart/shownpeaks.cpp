#include "shownpeaks.h"

#include "chartframe.h"
#include "shownrecords.h"

namespace {

// The peaks found by the absolute change, each with its change as the chart plots it.
std::vector<Peak> signedChanges(const CutDataSet& data, std::vector<Peak> peaks) {
    for (Peak& peak : peaks)
        peak.value = FeedChangePercent(data.records[peak.index]);
    return peaks;
}

} // namespace

std::vector<Peak> ShownPeaks(const CutDataSet& data, const ChartState& view, std::uint32_t top,
                             std::uint32_t gap) {
    const RecordRange shown = ShownRecords(data, HorizontalOf(view), view.shown);
    switch (view.compareMode) {
    case CompareMode::Rates:
        return PeakFinder(data, 2, view.g00Feed).find(shown, top, gap);
    case CompareMode::Feeds:
        return PeakFinder::ofOptimisedFeed(data).find(shown, top, gap);
    case CompareMode::FeedChange:
        return signedChanges(data, PeakFinder::ofAbsoluteFeedChange(data).find(shown, top, gap));
    default:
        return PeakFinder(data, view.drawMode, view.g00Feed).find(shown, top, gap);
    }
}
