#include "viridis.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// The map at 0, 0.1, ..., 1.
constexpr std::array<std::uint32_t, 11> kStops = {0x440154, 0x482475, 0x414487, 0x355F8D,
                                                  0x2A788E, 0x21918C, 0x22A884, 0x44BF70,
                                                  0x7AD151, 0xBDDF26, 0xFDE725};

int channel(std::uint32_t colour, int shift) {
    return static_cast<int>((colour >> shift) & 0xFF);
}

std::array<std::uint32_t, 256> makeTable() {
    std::array<std::uint32_t, 256> table{};
    for (int level = 0; level < 256; ++level) {
        const double at = level / 255.0 * 10.0;
        const int stop = std::min(9, static_cast<int>(at));
        const double t = at - stop;
        std::uint32_t pixel = 0xFF000000u;
        for (int shift : {16, 8, 0}) {
            const double mixed =
                channel(kStops[static_cast<std::size_t>(stop)], shift) * (1.0 - t) +
                channel(kStops[static_cast<std::size_t>(stop) + 1], shift) * t;
            pixel |= static_cast<std::uint32_t>(std::lround(mixed)) << shift;
        }
        table[static_cast<std::size_t>(level)] = pixel;
    }
    return table;
}

} // namespace

std::uint32_t ViridisColour(int level) {
    static const std::array<std::uint32_t, 256> table = makeTable();
    return table[static_cast<std::size_t>(std::clamp(level, 0, 255))];
}

int ViridisLevel(float value, float maximum) {
    if (!(maximum > 0.0f) || !(value > 0.0f))
        return 0;
    if (value >= maximum)
        return 255;
    return static_cast<int>(value * (255.0f / maximum) + 0.5f);
}
