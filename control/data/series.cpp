#include "series.h"

std::uint8_t PrimaryDrawModeFromMask(std::int32_t mask, std::uint8_t previous) {
    const auto bits = static_cast<std::uint32_t>(mask);
    for (std::uint8_t bit = 0; bit < 16; ++bit) {
        if (bits & (1u << bit))
            return bit;
    }
    return previous;
}

float horizontalValue(const CutDataSet& data, std::uint32_t i, std::int32_t distanceMode) {
    switch (distanceMode) {
    case 0:
        return data.totalDistance[i];
    case 1:
        return data.cutDistance[i];
    case 2:
        return blockNumberValue(data, i);
    default:
        return 0.0f;
    }
}
