#include "toolpathcolouring.h"

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
    return std::nullopt;
}

ToolpathColouring::ToolpathColouring(const CutDataSet& data, const ToolpathStyle& style,
                                     std::uint32_t first)
    : data_(data), style_(style) {
    if (data.count == 0)
        return;
    tools_ = ToolColours{data.records[0].toolNo, 0};
    tools_.skip(data.records.data(), first);
    if (style.mode != ToolpathColourMode::Chart) {
        series_ = static_cast<std::uint8_t>(static_cast<int>(style.mode) - 1);
        maximum_ = data.maxima[series_];
    }
}

std::uint32_t ToolpathColouring::baseColour(std::uint32_t i) {
    tools_.enter(data_.records[i].toolNo);
    if (isRapid(i))
        return kRapidColour;
    if (style_.mode == ToolpathColourMode::Chart)
        return PixelOfColorRef(style_.curveColours[static_cast<std::size_t>(tools_.colour)]);
    return ViridisColour(ViridisLevel(seriesValue(data_, i, series_, style_.g00Feed), maximum_));
}

std::uint32_t ToolpathColouring::colourOf(std::uint32_t i) {
    const std::uint32_t colour = baseColour(i);
    const bool inside = i >= style_.emphasised.first && i < style_.emphasised.end;
    return inside ? colour : Faded(colour);
}
