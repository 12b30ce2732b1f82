#include "plottedseries.h"

PlottedSeries::PlottedSeries(const CutDataSet& data, Kind kind, float g00Feed)
    : data_(data), kind_(kind), drawMode_(kind == Kind::OrgRate   ? 1
                                          : kind == Kind::OptRate ? 2
                                                                  : 0),
      feeds_(kind == Kind::OrgFeed || kind == Kind::OptFeed), g00Feed_(g00Feed) {}

PlottedSeries::Kind PlottedSeries::ofDrawMode(std::uint8_t drawMode) {
    return drawMode == 1 ? Kind::OrgRate : drawMode == 2 ? Kind::OptRate : Kind::Removal;
}

PlottedSeries::Kind PlottedSeries::ofReadOut(const ChartState& chart) {
    switch (chart.compareMode) {
    case CompareMode::Rates:
        return Kind::OptRate;
    case CompareMode::Feeds:
        return Kind::OptFeed;
    default:
        return ofDrawMode(chart.drawMode);
    }
}

// The values drawn of entry k of the index's level (a record on level 0).
ValueRange PlottedSeries::entryRange(int level, std::uint64_t k) const {
    ValueRange range;
    if (level == 0) {
        const auto i = static_cast<std::uint32_t>(k);
        if (!skips(i))
            range.add(numberOrZero(value(i)));
        return range;
    }
    const SeriesRanges& ranges = data_.index.series().node(level, k);
    switch (kind_) {
    case Kind::Removal:
        return ranges.removal;
    case Kind::OrgFeed:
        return ranges.orgFeed;
    case Kind::OptFeed:
        return ranges.optFeed;
    default:
        break;
    }
    range = kind_ == Kind::OrgRate ? ranges.orgRate : ranges.optRate;
    const float rapidFactor = g00Feed_ * kPerSecond;
    if (!ranges.rapidRemoval.empty())
        for (const float removal : {ranges.rapidRemoval.lo, ranges.rapidRemoval.hi})
            range.add(numberOrZero(removal * rapidFactor));
    return range;
}

float PlottedSeries::highestOver(std::uint32_t a, std::uint32_t b) const {
    ValueRange range;
    if (data_.index.covers(data_))
        data_.index.series().cover(
            a, b, [&](int level, std::uint64_t k) { range.merge(entryRange(level, k)); });
    else
        for (std::uint32_t i = a; i < b; ++i)
            range.merge(entryRange(0, i));
    return range.empty() ? 0.0f : range.hi;
}
