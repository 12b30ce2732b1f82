#pragma once

#include <cstdint>

// The perceptual colour map viridis as 0xFFRRGGBB pixels: level 0 to 255, dark violet to yellow.
std::uint32_t ViridisColour(int level);

// The level of `value` between 0 and `maximum`: 0 for a value that is not above 0 or not a number
// and for a maximum that is not above 0, 255 at and beyond the maximum.
int ViridisLevel(float value, float maximum);
