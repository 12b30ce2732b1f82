#pragma once

#include "cutindex.h"

#include <cstdint>

// The plotted values of a stretch of records from its series ranges, NaN counted as 0: the
// removal, or for the series per second (draw modes 1 and 2) the rates of the cuts together with
// the removal of the G00 moves times `rapidFactor` (the G00 feed in mm/sec). Both ends of the
// removal give the extremes, as a negative factor reverses the order.
inline ValueRange PlottedRange(const SeriesRanges& ranges, std::uint8_t drawMode,
                               float rapidFactor) {
    if (drawMode != 1 && drawMode != 2)
        return ranges.removal;
    ValueRange range = drawMode == 1 ? ranges.orgRate : ranges.optRate;
    if (!ranges.rapidRemoval.empty()) {
        for (const float removal : {ranges.rapidRemoval.lo, ranges.rapidRemoval.hi})
            range.add(numberOrZero(removal * rapidFactor));
    }
    return range;
}
