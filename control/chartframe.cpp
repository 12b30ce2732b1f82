#include "chartframe.h"

#include "series.h"

#include <algorithm>
#include <climits>
#include <cmath>

bool drawsCurve(std::int32_t distanceMode) {
    return distanceMode >= 0 && distanceMode <= 2;
}

ChartFrame layoutFrame(int width, int height) {
    ChartFrame frame;
    frame.width = width;
    frame.height = height;
    frame.fh = truncToInt(height * 0.05);
    frame.cw = frame.fh / 2;
    frame.fx = static_cast<float>(width - 2 * frame.fh - 3) / static_cast<float>(width);
    frame.fy = static_cast<float>(height - 2 * frame.fh - 3) / static_cast<float>(height);
    frame.x0 = truncToInt((1.0f - frame.fx) * static_cast<float>(width));
    frame.y0 = truncToInt(static_cast<float>(height) * frame.fy);
    frame.yTop = truncToInt(height * 0.02);
    frame.xEnd = truncToInt(width * 0.98);
    return frame;
}

void applyShownRange(ChartFrame& frame, std::int32_t distanceMode, float lowerPercent,
                     float upperPercent, const CutDataSet& data, float distMax) {
    if (drawsCurve(distanceMode)) {
        const float end = horizontalValue(data, data.count - 1, distanceMode);
        frame.xLo = static_cast<float>(end * lowerPercent * 0.01);
        frame.xHi = static_cast<float>(end * upperPercent * 0.01);
    }
    if (frame.xHi - frame.xLo < 3.0f) {
        if (frame.xLo + 3.0f > distMax)
            frame.xLo = frame.xHi - 3.0f;
        else
            frame.xHi = frame.xLo + 3.0f;
    }
    frame.gap = frame.xLo > 0.0f ? truncToInt(frame.width * 0.1) : 0;
    if (frame.maximum > 0.0f)
        frame.sy = static_cast<float>((frame.fy - 0.02) * frame.height / frame.maximum);
    const float span = frame.xHi - frame.xLo;
    if (span > 0.0f)
        frame.sx = static_cast<float>(((frame.fx - 0.02) * frame.width - frame.gap) / span);
}

ChartFrame viewFrame(const ChartView& view, const CutDataSet& data) {
    ChartFrame frame = layoutFrame(view.width, view.height);
    if (view.primaryDrawMode < kMaximaCount)
        frame.maximum = data.maxima[view.primaryDrawMode];
    applyShownRange(frame, view.distanceMode, view.lowerPercent, view.upperPercent, data,
                    data.totalDistance[data.count - 1]);
    return frame;
}

bool isSortedHorizontally(const CutDataSet& data, std::int32_t distanceMode) {
    if (distanceMode != 0 && distanceMode != 1)
        return false;
    const LoadedArray<float>& array = distanceMode == 0 ? data.totalDistance : data.cutDistance;
    return std::isfinite(array[data.count - 1]);
}

std::uint32_t firstShownRecord(const CutDataSet& data, const HorizontalArray& xs,
                               std::int32_t distanceMode, float xLo) {
    const std::uint32_t last = data.count - 1;
    if (isSortedHorizontally(data, distanceMode)) {
        const LoadedArray<float>& array = distanceMode == 0 ? data.totalDistance : data.cutDistance;
        return static_cast<std::uint32_t>(
            std::lower_bound(array.begin(), array.begin() + last, xLo) - array.begin());
    }
    std::uint32_t i = 0;
    while (i < last && xs[i] < xLo)
        ++i;
    return i;
}
