#include "feedchangecolours.h"

#include <algorithm>
#include <cmath>

namespace {

std::uint32_t channel(std::uint32_t pixel, int shift) {
    return pixel >> shift & 0xFFu;
}

// `share` (0..1) of the way from `from` to `to`, per channel.
std::uint32_t mixed(std::uint32_t from, std::uint32_t to, float share) {
    std::uint32_t out = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const float a = static_cast<float>(channel(from, shift));
        const float b = static_cast<float>(channel(to, shift));
        out |= static_cast<std::uint32_t>(std::lround(a + (b - a) * share)) << shift;
    }
    return out;
}

} // namespace

std::uint32_t FeedChangeColour(float change, float extent) {
    if (std::isnan(change) || !(extent > 0.0f))
        return kUnchangedColour;
    const float share = std::min(std::fabs(change) / extent, 1.0f);
    return mixed(kUnchangedColour, change < 0.0f ? kSlowestColour : kFastestColour, share);
}
