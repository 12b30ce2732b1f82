#pragma once

#include <cstdint>

// One generated block in the units the files are written with: coordinates in micrometres and
// removal in ten-thousandths of mm3/mm, so that both formats carry exactly the same values.
struct SynthBlock {
    std::int16_t toolNo = 0;
    std::int32_t blockNo = 0;
    std::uint8_t motionCode = 0;
    std::int32_t x = 0; // um
    std::int32_t y = 0;
    std::int32_t z = 0;
    std::int32_t orgFeed = 0; // mm/min
    std::uint8_t removalKind = 0;
    std::int32_t removal = 0; // 1/10000 mm3/mm
    bool removalNaN = false;  // the removal is NaN, whatever `removal` holds
    std::int32_t optFeed = 0; // mm/min
};
