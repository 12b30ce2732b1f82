#pragma once

#include <cstdint>

struct SelectionPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// The mouse range selection, one for the whole control module.
struct SelectionState {
    SelectionPoint selCurrent;
    SelectionPoint selAnchor;
    float selAnchorPercent = 0.0f;
    float selEndPercent = 0.0f;
    std::int32_t selActive = 0;
};
