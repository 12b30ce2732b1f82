#pragma once

#include "curvexids.h"
#include "shownrange.h"

#include <array>
#include <cstdint>
#include <string>

class TimeAxisValues;

// Colour reference: red in the low byte, then green, then blue (0x00BBGGRR).
using ColorRef = std::uint32_t;

using CurveColours = std::array<ColorRef, curvex::kCurveColours>;

// The default colour of curve colour number n: a cycle of green, cyan, blue, magenta, red and
// yellow.
constexpr ColorRef DefaultCurveColour(int n) {
    const int i = n + 1;
    const ColorRef red = (i + 2) % 6 < 3 ? 0xFFu : 0u;
    const ColorRef green = i % 6 < 3 ? 0xFFu : 0u;
    const ColorRef blue = (i + 4) % 6 < 3 ? 0xFFu : 0u;
    return red | (green << 8) | (blue << 16);
}

constexpr CurveColours DefaultCurveColours() {
    CurveColours colours{};
    for (int n = 0; n < curvex::kCurveColours; ++n)
        colours[static_cast<std::size_t>(n)] = DefaultCurveColour(n);
    return colours;
}

// The two series drawn over each other instead of the plotted series: none, removal per second
// with both feeds, or both feeds themselves.
using CompareMode = curvex::CompareMode;

// Whether a compare mode draws the programmed series in grey under the optimised one.
inline bool ComparesInGrey(CompareMode mode) {
    return mode == CompareMode::Rates || mode == CompareMode::Feeds;
}

// The programmed series of a compare chart, a grey that no curve colour takes.
inline constexpr ColorRef kCompareGrey = 0x808080;

// What a chart shows. With the data set it is all that a render, the read-out's pick and the
// shown range's figures read; the control, `curvex`, the benchmarks and the tests each fill one.
struct ChartState {
    int width = 100; // plot size in pixels
    int height = 100;
    // Horizontal quantity: 0 distance, 1 distance without G00 moves, 2 block number; the others
    // draw the axes without a curve.
    std::int32_t distanceMode = 0;
    // With a time axis the records sit at their machining times instead (the distance mode is
    // kept for when it is off): the mode, and the times built for the data set drawn with it.
    curvex::TimeAxisMode timeAxis = curvex::TimeAxisMode::Off;
    const TimeAxisValues* timeValues = nullptr;
    // Plotted series: 0 removal, 1 and 2 removal per second with the programmed and with the
    // optimised feed.
    std::uint8_t drawMode = 0;
    ShownRange shown;
    float g00Feed = curvex::kDefaultG00Feed; // mm/min of the G00 moves
    CurveColours colours = DefaultCurveColours();
    ColorRef backColour = 0xFFFFFF;
    ColorRef axisColour = 0x000000;
    std::string xTitle; // axis titles as drawn
    std::string yTitle;
    // The views a user switches on; their defaults draw the chart as above.
    CompareMode compareMode = CompareMode::None;
    bool colourByTool = false; // tool t in curve colour t & 15 instead of a step per tool change
    bool legend = false;
    bool fitHeight = false; // the vertical scale ends at the largest value drawn in the range
    std::string greyCaption = "programmed"; // the legend's entry of the grey series
    // Added to the vertical title of a compare chart without a legend, when it fits.
    std::string greyNote = "grey: programmed";
};

// What a render gives back besides its drawing. The data's fields are set only by a render that
// had data to show.
struct ChartDrawn {
    int fontHeight = 10; // 5 % of the plot height
    bool withData = false;
    float distMax = 0.0f; // total distance of the data
    int plotLeft = 0;     // pixel columns where the shown range starts and ends
    int plotRight = 0;
};
