#pragma once

#include <cstdint>

// One block of the monitoring data, in the field order of the file formats.
struct CutRecord {
    std::int16_t toolNo = 0;
    std::int32_t blockNo = 0;
    std::uint8_t motionCode = 255; // 0 is a G00 rapid move
    float x = 0.0f;                // mm
    float y = 0.0f;
    float z = 0.0f;
    std::int32_t orgFeed = 0; // mm/min
    std::uint8_t removalKind = 0;
    float removal = 0.0f;     // mm3/mm
    std::int32_t optFeed = 0; // mm/min
};
