#include "toolpathcolouring.h"

#include "feedchangecolours.h"
#include "feedchangeindex.h"
#include "series.h"
#include "viridis.h"

std::optional<ToolpathColourMode> ToolpathColourModeOf(std::string_view name) {
    if (name == "chart")
        return ToolpathColourMode::Chart;
    if (name == "removal")
        return ToolpathColourMode::Removal;
    if (name == "rate-org")
        return ToolpathColourMode::RateOrg;
    if (name == "rate-opt")
        return ToolpathColourMode::RateOpt;
    if (name == "change")
        return ToolpathColourMode::FeedChange;
    return std::nullopt;
}

ToolpathColouring::ToolpathColouring(const CutDataSet& data, const ToolpathStyle& style,
                                     std::optional<ToolColours> start)
    : data_(data), style_(style) {
    if (data.count == 0)
        return;
    tools_ = start.value_or(ToolColours{data.records[0].toolNo, 0});
    for (std::size_t n = 0; n < chartColours_.size(); ++n)
        chartColours_[n] = PixelOfColorRef(style.curveColours[n]);
    if (style.mode == ToolpathColourMode::FeedChange) {
        maximum_ = FeedChangeExtent(FeedChangeIndex::of(data)->extremes());
    } else if (style.mode != ToolpathColourMode::Chart) {
        series_ = static_cast<std::uint8_t>(static_cast<int>(style.mode) - 1);
        maximum_ = data.maxima[series_];
    }
}

std::uint32_t ToolpathColouring::changeColour(std::uint32_t i) const {
    const CutRecord& record = data_.records[i];
    if (!HasFeedChange(record))
        return kNoFeedColour;
    return FeedChangeColour(FeedChangePercent(record), maximum_);
}

std::uint32_t ToolpathColouring::quantityColour(std::uint32_t i) const {
    return ViridisColour(ViridisLevel(seriesValue(data_, i, series_, style_.g00Feed), maximum_));
}
