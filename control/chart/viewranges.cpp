#include "viewranges.h"

#include <algorithm>
#include <cmath>

float MinimumWidthPercent(const CutDataSet& data, HorizontalAxis axis) {
    if (!data.hasData() || data.count == 0 || !DrawsCurve(axis))
        return 0.0f;
    const float end = axis.valueAt(data, data.count - 1);
    if (!(end > 3.0f))
        return 100.0f;
    return 300.0f / end;
}

namespace {

// The value a chart takes for `percent` of `end`, as ApplyShownRange works it out.
float valueAtPercent(float end, float percent) {
    return static_cast<float>(end * percent * 0.01);
}

} // namespace

ShownRange RangeOfRecords(const CutDataSet& data, HorizontalAxis axis, RecordRange records,
                          float minWidth) {
    if (!data.hasData() || data.count == 0 || !DrawsCurve(axis) || records.first >= records.end)
        return {};
    const float end = axis.valueAt(data, data.count - 1);
    if (!(end > 0.0f) || !std::isfinite(end))
        return {};
    ShownRange range;
    if (records.first > 0) {
        const float value = axis.valueAt(data, records.first);
        range.lower =
            std::clamp(static_cast<float>(value / static_cast<double>(end) * 100.0), 0.0f, 100.0f);
        while (range.lower > 0.0f && valueAtPercent(end, range.lower) > value)
            range.lower = std::nextafter(range.lower, 0.0f);
    }
    if (records.end < data.count) {
        const float value = axis.valueAt(data, records.end - 1);
        range.upper = std::clamp(static_cast<float>(value / static_cast<double>(end) * 100.0),
                                 range.lower, 100.0f);
        while (range.upper < 100.0f && valueAtPercent(end, range.upper) < value)
            range.upper = std::nextafter(range.upper, 100.0f);
    }
    // Clamping works the upper end out again from the width, which may round it off the last
    // record: only a range below the minimum width is widened.
    return range.width() < std::min(minWidth, 100.0f) ? ClampRange(range, minWidth) : range;
}

ShownRange ClampRange(ShownRange range, float minWidth) {
    const float width = std::clamp(range.width(), std::min(minWidth, 100.0f), 100.0f);
    const float lower = std::clamp(range.lower, 0.0f, 100.0f - width);
    return {lower, std::min(lower + width, 100.0f)};
}

ShownRange PanRange(ShownRange range, float fraction, float minWidth) {
    const float shift = range.width() * fraction;
    return ClampRange({range.lower + shift, range.upper + shift}, minWidth);
}

ShownRange RangeAround(float centre, float width, float minWidth) {
    return ClampRange({centre - width / 2.0f, centre + width / 2.0f}, minWidth);
}

ShownRange RangeOverSpan(float lowerPercent, float upperPercent, float minWidth) {
    const float margin = (upperPercent - lowerPercent) * 0.1f;
    const ShownRange range{std::max(lowerPercent - margin, 0.0f),
                           std::min(upperPercent + margin, 100.0f)};
    if (range.width() >= minWidth)
        return range;
    return RangeAround((lowerPercent + upperPercent) / 2.0f, minWidth, minWidth);
}

ShownRange ZoomAboutCentre(ShownRange range, float factor, float minWidth) {
    return RangeAround((range.lower + range.upper) / 2.0f, range.width() / factor, minWidth);
}

ShownRange ZoomAboutColumn(ShownRange range, const ChartFrame& layout, float anchorPercent,
                           int column, float factor, float minWidth) {
    const float width = std::clamp(range.width() / factor, std::min(minWidth, 100.0f), 100.0f);
    const int left = layout.x0 + TruncToInt(layout.width * 0.1);
    const int right = layout.xEnd;
    // A range that starts beyond 0 is drawn right of the break gap; a pointer over the gap, or
    // one whose value would need the range to start before 0, keeps the start at 0.
    if (column >= left && right > left) {
        const float share = static_cast<float>(column - left) / static_cast<float>(right - left);
        const float lower = anchorPercent - share * width;
        if (lower > 0.0f)
            return ClampRange({lower, lower + width}, minWidth);
    }
    return ClampRange({0.0f, width}, minWidth);
}
