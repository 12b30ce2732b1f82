#include "plottedseries.h"

PlottedSeries::PlottedSeries(const CutDataSet& data, Kind kind, float g00Feed)
    : data_(data), kind_(kind), drawMode_(kind == Kind::OrgRate   ? 1
                                          : kind == Kind::OptRate ? 2
                                                                  : 0),
      breaks_(kind == Kind::OrgFeed || kind == Kind::OptFeed || kind == Kind::FeedChange),
      g00Feed_(g00Feed), change_(kind == Kind::FeedChange ? FeedChangeIndex::of(data) : nullptr) {}

PlottedSeries::Kind PlottedSeries::ofDrawMode(std::uint8_t drawMode) {
    return drawMode == 1 ? Kind::OrgRate : drawMode == 2 ? Kind::OptRate : Kind::Removal;
}

PlottedSeries::Kind PlottedSeries::ofReadOut(const ChartState& chart) {
    switch (chart.compareMode) {
    case CompareMode::Rates:
        return Kind::OptRate;
    case CompareMode::Feeds:
        return Kind::OptFeed;
    case CompareMode::FeedChange:
        return Kind::FeedChange;
    default:
        return ofDrawMode(chart.drawMode);
    }
}

float PlottedSeries::highestOver(std::uint32_t a, std::uint32_t b) const {
    const ValueRange drawn = rangeOver(a, b);
    return drawn.empty() ? 0.0f : drawn.hi;
}

ValueRange PlottedSeries::rangeOver(std::uint32_t a, std::uint32_t b) const {
    ValueRange drawn;
    if (data_.index.covers(data_))
        data_.index.series().cover(
            a, b, [&](int level, std::uint64_t k) { drawn.merge(range(level, k)); });
    else
        for (std::uint32_t i = a; i < b; ++i)
            drawn.merge(range(0, i));
    return drawn;
}
