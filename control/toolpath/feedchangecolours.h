#pragma once

#include <cstdint>

// The diverging colour map of the feed change as 0xFFRRGGBB pixels, symmetric about 0: from the
// slowest change through grey for no change to the fastest, interpolated in RGB. Both ends stay
// apart for the common colour-vision deficiencies (red against blue, not against green).
inline constexpr std::uint32_t kSlowestColour = 0xFFB2182Bu;   // RGB(178, 24, 43)
inline constexpr std::uint32_t kUnchangedColour = 0xFFBEBEBEu; // RGB(190, 190, 190)
inline constexpr std::uint32_t kFastestColour = 0xFF2166ACu;   // RGB(33, 102, 172)
// A cutting move without a programmed feed above 0 has no change.
inline constexpr std::uint32_t kNoFeedColour = 0xFF606060u; // RGB(96, 96, 96)

// The colour of a change (percent) on a scale of -extent..+extent: the slowest colour at and
// below -extent, the fastest at and beyond +extent, each channel rounded to the nearest level.
// A change that is not a number, or an extent that is not above 0, gives the unchanged colour.
std::uint32_t FeedChangeColour(float change, float extent);
