#include "shownrecords.h"

#include "chartframe.h"

RecordRange ShownRecords(const CutDataSet& data, HorizontalAxis axis, ShownRange shown) {
    if (!data.hasData() || data.count == 0 || !DrawsCurve(axis))
        return {};
    ChartFrame window;
    ApplyShownRange(window, axis, shown, data, data.totalDistance[data.count - 1]);
    const HorizontalArray xs(data, axis);
    const std::uint32_t first = firstShownRecord(data, xs, axis, window.xLo);
    // Only the last record can lie before the window's left end.
    if (xs[first] < window.xLo)
        return {first, first};
    return {first, endOfShownRecords(data, xs, axis, first, window.xHi)};
}

MachiningTimes ShownTimesOf(const CutDataSet& data, HorizontalAxis axis, ShownRange shown,
                            double g00Feed) {
    return TimesOf(SumsOfRecords(data, ShownRecords(data, axis, shown)), g00Feed);
}
