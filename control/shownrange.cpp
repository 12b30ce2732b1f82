#include "shownrange.h"

#include "chartframe.h"

#include <algorithm>

namespace {

// The first record from `first` on that lies beyond `hi`, or the count.
std::uint32_t firstBeyond(const CutDataSet& data, const HorizontalArray& xs,
                          std::int32_t distanceMode, std::uint32_t first, float hi) {
    if (isSortedHorizontally(data, distanceMode)) {
        const LoadedArray<float>& array = distanceMode == 0 ? data.totalDistance : data.cutDistance;
        return static_cast<std::uint32_t>(
            std::upper_bound(array.begin() + first, array.begin() + data.count, hi) -
            array.begin());
    }
    std::uint32_t i = first;
    while (i < data.count && !(xs[i] > hi))
        ++i;
    return i;
}

} // namespace

RecordRange ShownRecords(const CutDataSet& data, std::int32_t distanceMode, float lowerPercent,
                         float upperPercent) {
    if (!data.hasData() || data.count == 0 || !drawsCurve(distanceMode))
        return {};
    ChartFrame window;
    applyShownRange(window, distanceMode, lowerPercent, upperPercent, data,
                    data.totalDistance[data.count - 1]);
    const HorizontalArray xs(data, distanceMode);
    const std::uint32_t first = firstShownRecord(data, xs, distanceMode, window.xLo);
    // Only the last record can lie before the window's left end.
    if (xs[first] < window.xLo)
        return {first, first};
    return {first, firstBeyond(data, xs, distanceMode, first, window.xHi)};
}

MachiningTimes ShownTimesOf(const CutDataSet& data, std::int32_t distanceMode, float lowerPercent,
                            float upperPercent, double g00Feed) {
    return TimesOf(
        SumsOfRecords(data, ShownRecords(data, distanceMode, lowerPercent, upperPercent)), g00Feed);
}
