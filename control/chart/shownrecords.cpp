#include "shownrecords.h"

#include "chartframe.h"

RecordRange ShownRecords(const CutDataSet& data, std::int32_t distanceMode, ShownRange shown) {
    if (!data.hasData() || data.count == 0 || !DrawsCurve(distanceMode))
        return {};
    ChartFrame window;
    ApplyShownRange(window, distanceMode, shown, data, data.totalDistance[data.count - 1]);
    const HorizontalArray xs(data, distanceMode);
    const std::uint32_t first = firstShownRecord(data, xs, distanceMode, window.xLo);
    // Only the last record can lie before the window's left end.
    if (xs[first] < window.xLo)
        return {first, first};
    return {first, endOfShownRecords(data, xs, distanceMode, first, window.xHi)};
}

MachiningTimes ShownTimesOf(const CutDataSet& data, std::int32_t distanceMode, ShownRange shown,
                            double g00Feed) {
    return TimesOf(SumsOfRecords(data, ShownRecords(data, distanceMode, shown)), g00Feed);
}
