#include "chartframe.h"

#include "chartmaximum.h"
#include "feedchangeindex.h"
#include "series.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>

bool DrawsCurve(HorizontalAxis axis) {
    return axis.drawsCurve();
}

HorizontalAxis HorizontalOf(const ChartState& chart) {
    const bool timed = chart.timeAxis != curvex::TimeAxisMode::Off && chart.timeValues != nullptr;
    return {chart.distanceMode, timed ? chart.timeValues : nullptr};
}

ChartFrame LayoutFrame(int width, int height) {
    ChartFrame frame;
    frame.width = width;
    frame.height = height;
    frame.fh = TruncToInt(height * 0.05);
    frame.cw = frame.fh / 2;
    frame.fx = static_cast<float>(width - 2 * frame.fh - 3) / static_cast<float>(width);
    frame.fy = static_cast<float>(height - 2 * frame.fh - 3) / static_cast<float>(height);
    frame.x0 = TruncToInt((1.0f - frame.fx) * static_cast<float>(width));
    frame.y0 = TruncToInt(static_cast<float>(height) * frame.fy);
    frame.yZero = frame.y0;
    frame.yTop = TruncToInt(height * 0.02);
    frame.xEnd = TruncToInt(width * 0.98);
    return frame;
}

void ApplyShownRange(ChartFrame& frame, HorizontalAxis axis, ShownRange shown,
                     const CutDataSet& data, float distMax) {
    if (axis.isTime())
        distMax = axis.valueAt(data, data.count - 1);
    if (DrawsCurve(axis)) {
        const float end = axis.valueAt(data, data.count - 1);
        frame.xLo = static_cast<float>(end * shown.lower * 0.01);
        // The whole range ends at the last record itself: the percentage could round below it.
        frame.xHi = shown.upper == 100.0f ? end : static_cast<float>(end * shown.upper * 0.01);
    }
    if (frame.xHi - frame.xLo < 3.0f) {
        if (frame.xLo + 3.0f > distMax)
            frame.xLo = frame.xHi - 3.0f;
        else
            frame.xHi = frame.xLo + 3.0f;
    }
    frame.gap = frame.xLo > 0.0f ? TruncToInt(frame.width * 0.1) : 0;
    setMaximum(frame, frame.maximum);
    const float span = frame.xHi - frame.xLo;
    if (span > 0.0f)
        frame.sx = static_cast<float>(((frame.fx - 0.02) * frame.width - frame.gap) / span);
}

void setMaximum(ChartFrame& frame, float maximum) {
    frame.maximum = maximum;
    frame.sy = maximum > 0.0f ? static_cast<float>((frame.fy - 0.02) * frame.height / frame.maximum)
                              : 1.0f;
}

void setSignedScale(ChartFrame& frame, const ValueRange& values) {
    const double half = (frame.fy - 0.02) * frame.height * 0.5;
    frame.signedScale = true;
    frame.maximum = values.empty() ? 0.0f : values.hi;
    frame.minimum = values.empty() ? 0.0f : values.lo;
    frame.sy = static_cast<float>(half / FeedChangeExtent(values));
    frame.yZero = OffsetPixel(frame.y0, -TruncToInt(half));
}

void ApplyVerticalScale(ChartFrame& frame, const ChartState& chart, const CutDataSet& data) {
    if (chart.compareMode == CompareMode::FeedChange)
        setSignedScale(frame, ChartChangeRange(chart, data, frame));
    else
        setMaximum(frame, ChartMaximum(chart, data, frame));
}

ChartFrame ViewFrame(const ChartState& view, const CutDataSet& data) {
    ChartFrame frame = LayoutFrame(view.width, view.height);
    ApplyShownRange(frame, HorizontalOf(view), view.shown, data,
                    data.totalDistance[data.count - 1]);
    ApplyVerticalScale(frame, view, data);
    return frame;
}

bool IsSortedHorizontally(const CutDataSet& data, HorizontalAxis axis) {
    const float* array = axis.sortedValues(data);
    return array != nullptr && std::isfinite(array[data.count - 1]);
}

namespace {

// The sorted values of a quantity never decrease before the record this returns, and are all
// NaN from it on (times never become NaN); nothing for block numbers, or distances without an
// index that do not stay finite.
std::optional<std::uint32_t> sortedValuesEnd(const CutDataSet& data, HorizontalAxis axis) {
    if (axis.sortedValues(data) == nullptr)
        return std::nullopt;
    if (axis.isTime())
        return data.count;
    if (data.index.covers(data))
        return data.index.firstNaNDistance(axis.distanceMode());
    if (IsSortedHorizontally(data, axis))
        return data.count;
    return std::nullopt;
}

// The first record in a..b - 1 whose block number `beyond` a bound, from the index when there is
// one, else walked; b when there is none.
template <class Beyond>
std::uint32_t firstBlockNumber(const CutDataSet& data, const HorizontalArray& xs, std::uint32_t a,
                               std::uint32_t b, Beyond beyond) {
    if (!data.index.covers(data)) {
        while (a < b && !beyond(xs[a]))
            ++a;
        return a;
    }
    const MinMaxPyramid<ValueRange>& numbers = data.index.blockNumbers();
    return static_cast<std::uint32_t>(numbers.findFirst(a, b, [&](int level, std::uint64_t k) {
        return level == 0 ? beyond(xs[static_cast<std::uint32_t>(k)])
                          : beyond(numbers.node(level, k).hi);
    }));
}

} // namespace

std::uint32_t firstShownRecord(const CutDataSet& data, const HorizontalArray& xs,
                               HorizontalAxis axis, float xLo) {
    const std::uint32_t last = data.count - 1;
    if (const auto sorted = sortedValuesEnd(data, axis)) {
        const float* array = axis.sortedValues(data);
        return static_cast<std::uint32_t>(
            std::lower_bound(array, array + std::min(*sorted, last), xLo) - array);
    }
    return firstBlockNumber(data, xs, 0, last, [&](float x) { return !(x < xLo); });
}

std::uint32_t endOfShownRecords(const CutDataSet& data, const HorizontalArray& xs,
                                HorizontalAxis axis, std::uint32_t first, float xHi) {
    if (const auto sorted = sortedValuesEnd(data, axis)) {
        if (first >= *sorted)
            return data.count;
        const float* array = axis.sortedValues(data);
        const float* end = std::upper_bound(array + first, array + *sorted, xHi);
        return end < array + *sorted ? static_cast<std::uint32_t>(end - array) : data.count;
    }
    return firstBlockNumber(data, xs, first, data.count, [&](float x) { return x > xHi; });
}
