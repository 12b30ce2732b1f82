#pragma once

#include "cutdataset.h"
#include "machiningtime.h"
#include "toolcolours.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// What colours the path: the chart's own curve colours (one per tool as the chart changes them),
// the plotted quantity through the viridis map from 0 to its maximum, or the feed change through
// a diverging map symmetric about 0.
using ToolpathColourMode = curvex::ToolpathColourMode;

// The names the command line takes: chart, removal, rate-org, rate-opt, change.
std::optional<ToolpathColourMode> ToolpathColourModeOf(std::string_view name);

// The colours of the path's segments as 0xFFRRGGBB pixels.
struct ToolpathStyle {
    ToolpathColourMode mode = ToolpathColourMode::Chart;
    std::array<std::uint32_t, curvex::kCurveColours> curveColours{}; // 0x00BBGGRR, as the chart's
    float g00Feed = curvex::kDefaultG00Feed;
    RecordRange emphasised{0, 0xFFFFFFFFu}; // records outside are faded
    bool colourByTool = false; // the chart's colours by tool number (t & 15), as the chart's option
    std::string changeTitle = "Feed Change [%]"; // the colour bar's title of the feed change
};

inline constexpr std::uint32_t kRapidColour = 0xFF808080u;
inline constexpr std::uint32_t kBackColour = 0xFFFFFFFFu;

// A colour mixed with three parts of white.
constexpr std::uint32_t Faded(std::uint32_t pixel) {
    std::uint32_t out = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8)
        out |= (((pixel >> shift & 0xFFu) + 3u * 0xFFu) / 4u) << shift;
    return out;
}

// 0x00BBGGRR to 0xFFRRGGBB.
constexpr std::uint32_t PixelOfColorRef(std::uint32_t colorRef) {
    return 0xFF000000u | (colorRef & 0xFFu) << 16 | (colorRef & 0xFF00u) | (colorRef >> 16 & 0xFFu);
}

// Walks the records in order and gives each its segment's colour; the chart's colour numbers
// follow the tool changes, so the walk starts at a record and only moves on.
class ToolpathColouring {
public:
    // From the first record, or from a record after which `start` is the tool colour state.
    ToolpathColouring(const CutDataSet& data, const ToolpathStyle& style,
                      std::optional<ToolColours> start = std::nullopt);

    // The colour of record i, i at or after the last one asked for; rapid moves are grey.
    // Inline: the drawing asks for every record.
    std::uint32_t colourOf(std::uint32_t i) {
        tools_.enter(data_.records[i].toolNo);
        std::uint32_t colour = kRapidColour;
        if (!isRapid(i))
            colour = style_.mode == ToolpathColourMode::Chart        ? chartColour(i)
                     : style_.mode == ToolpathColourMode::FeedChange ? changeColour(i)
                                                                     : quantityColour(i);
        const bool inside = i >= style_.emphasised.first && i < style_.emphasised.end;
        return inside ? colour : Faded(colour);
    }

    bool isRapid(std::uint32_t i) const { return data_.records[i].motionCode == 0; }
    // The maximum of the coloured quantity; 0 for the chart's colours. For the feed change the
    // scale's half: the largest absolute change of the data set, 1 when every change is 0.
    float maximum() const { return maximum_; }

private:
    std::uint32_t chartColour(std::uint32_t i) const {
        return chartColours_[static_cast<std::size_t>(
            CurveColourNumber(data_.records[i].toolNo, style_.colourByTool, tools_.colour))];
    }
    std::uint32_t quantityColour(std::uint32_t i) const;
    std::uint32_t changeColour(std::uint32_t i) const;

    const CutDataSet& data_;
    const ToolpathStyle& style_;
    ToolColours tools_;
    std::uint8_t series_ = 0;
    float maximum_ = 0.0f;
    std::array<std::uint32_t, curvex::kCurveColours> chartColours_{}; // as pixels
};
