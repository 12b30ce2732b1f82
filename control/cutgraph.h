#pragma once

#include "toolcolours.h"

#include <array>
#include <cstdint>

// Colour reference: red in the low byte, then green, then blue (0x00BBGGRR).
using ColorRef = std::uint32_t;

// The default colour of curve colour number n: a cycle of green, cyan, blue, magenta, red and
// yellow.
constexpr ColorRef defaultCurveColour(int n) {
    const int i = n + 1;
    const ColorRef red = (i + 2) % 6 < 3 ? 0xFFu : 0u;
    const ColorRef green = i % 6 < 3 ? 0xFFu : 0u;
    const ColorRef blue = (i + 4) % 6 < 3 ? 0xFFu : 0u;
    return red | (green << 8) | (blue << 16);
}

// The graph state of one control.
class CCutGraph {
public:
    CCutGraph();
    virtual ~CCutGraph();
    CCutGraph(const CCutGraph&) = delete;
    CCutGraph& operator=(const CCutGraph&) = delete;

    std::int32_t distanceMode = 0;
    std::int32_t drawModeMask = 0;
    float upperPercent = 100.0f;
    float lowerPercent = 0.0f;
    float distMax = 0.0f;
    float g00Feed = 5000.0f;
    std::array<ColorRef, kCurveColours> colours{};
    std::int32_t plotHeight = 100;
    std::int32_t plotWidth = 100;
    std::int32_t fontHeight = 10;
    std::int32_t plotRight = 0;
    std::int32_t plotLeft = 0;
    ColorRef backColour = 0xFFFFFF;
    ColorRef axisColour = 0x000000;
};
