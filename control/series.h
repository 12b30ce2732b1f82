#pragma once

#include "cutdataset.h"

#include <cstdint>

// mm/min to mm/sec, as the single-precision constant every rate uses.
inline constexpr float kPerSecond = 0.016666668f;

// The series a draw-mode mask selects: the number of its lowest set bit among bits 0 to 15, or
// `previous` when none of those bits is set.
std::uint8_t PrimaryDrawModeFromMask(std::int32_t mask, std::uint8_t previous);

// The value of the selected series at record i.
float seriesValue(const CutDataSet& data, std::uint32_t i, std::uint8_t primaryDrawMode,
                  float g00Feed);

// The horizontal value of record i for distance mode 0, 1 or 2 (block numbers as unsigned 32-bit
// values); 0 for any other mode.
float horizontalValue(const CutDataSet& data, std::uint32_t i, std::int32_t distanceMode);
