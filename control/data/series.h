#pragma once

#include "cutdataset.h"

#include <cstdint>

// mm/min to mm/sec, as the single-precision constant every rate uses.
inline constexpr float kPerSecond = 0.016666668f;

// The series a draw-mode mask selects: the number of its lowest set bit among bits 0 to 15, or
// `previous` when none of those bits is set.
std::uint8_t PrimaryDrawModeFromMask(std::int32_t mask, std::uint8_t previous);

// The value of the selected series at record i. Inline, as the chart reads it for every record it
// draws.
inline float seriesValue(const CutDataSet& data, std::uint32_t i, std::uint8_t primaryDrawMode,
                         float g00Feed) {
    const CutRecord& record = data.records[i];
    const bool rapid = record.motionCode == 0;
    float feedFactor = 1.0f;
    if (primaryDrawMode == 1)
        feedFactor = (rapid ? g00Feed : static_cast<float>(record.orgFeed)) * kPerSecond;
    else if (primaryDrawMode == 2)
        feedFactor = (rapid ? g00Feed : static_cast<float>(record.optFeed)) * kPerSecond;
    return record.removal * feedFactor;
}

// The block number of record i as a horizontal value: taken as an unsigned 32-bit value.
inline float blockNumberValue(const CutDataSet& data, std::uint32_t i) {
    return static_cast<float>(static_cast<std::uint32_t>(data.blockNos[i]));
}

// The horizontal value of record i for distance mode 0, 1 or 2 (block numbers as unsigned 32-bit
// values); 0 for any other mode.
float horizontalValue(const CutDataSet& data, std::uint32_t i, std::int32_t distanceMode);
