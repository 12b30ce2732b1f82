#pragma once

#include "chartstate.h"
#include "cutdataset.h"
#include "horizontalaxis.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

// The layout of the chart for one plot size, data set and shown range: what the renderer draws
// with and what the read-out picks with, so that both agree on every pixel.

// Conversion toward zero as the chart's pixel arithmetic does it; NaN gives 0 and values beyond
// the 32-bit range stay at its ends.
inline int TruncToInt(double value) {
    if (value > -2147483649.0 && value < 2147483648.0)
        return static_cast<int>(value);
    if (std::isnan(value))
        return 0;
    return value > 0.0 ? INT_MAX : INT_MIN;
}

// base + offset, kept inside the 32-bit range.
inline int OffsetPixel(int base, int offset) {
    const long long sum = static_cast<long long>(base) + offset;
    return static_cast<int>(std::clamp<long long>(sum, INT_MIN, INT_MAX));
}

// Length of the ticks on both axes, drawn into the plot area.
inline constexpr int kTickLength = 10;

// Everything a render derives from the plot size, the data and the shown range.
struct ChartFrame {
    int width = 0;
    int height = 0;
    int fh = 0;      // font height: 5 % of the plot height
    int cw = 0;      // character width, half the font height
    float fx = 0.0f; // share of the width right of the vertical axis
    float fy = 0.0f; // share of the height above the horizontal axis
    int x0 = 0;      // pixel column of the vertical axis
    int y0 = 0;      // pixel row of the horizontal axis
    int yTop = 0;    // upper end of the vertical axis
    int xEnd = 0;    // right end of the horizontal axis
    float maximum = 0.0f;
    float minimum = 0.0f;     // the smallest value of a signed scale
    bool signedScale = false; // a scale from -extent to +extent about the row yZero
    int yZero = 0;            // pixel row of the value 0: y0 unless the scale is signed
    float xLo = 0.0f;         // shown horizontal range
    float xHi = 100.0f;
    float sx = 1.0f; // pixels per horizontal unit
    float sy = 1.0f; // pixels per unit of the plotted series
    int gap = 0;     // width of the axis break when the range does not start at 0

    int plotLeft() const { return x0 + gap; }
    int pointX(float value) const {
        return OffsetPixel(plotLeft(), TruncToInt((value - xLo) * sx));
    }
    int pointY(float value) const { return OffsetPixel(yZero, -TruncToInt(value * sy)); }
};

// True for the horizontal quantities that draw a curve (distance modes 0, 1 and 2, and times).
bool DrawsCurve(HorizontalAxis axis);

// The horizontal quantity of a chart: its time axis's values while one is on, else its distance
// mode.
HorizontalAxis HorizontalOf(const ChartState& chart);

// The axes' places for a plot of width x height.
ChartFrame LayoutFrame(int width, int height);

// The shown range of the data with its 3.0-unit minimum span, the break gap and both scales. A
// time axis keeps its span within its own whole time; the distance modes within distMax.
void ApplyShownRange(ChartFrame& frame, HorizontalAxis axis, ShownRange shown,
                     const CutDataSet& data, float distMax);

// Sets the top of the vertical scale and the scale with it; a maximum that is not above 0 scales
// by one pixel per unit.
void setMaximum(ChartFrame& frame, float maximum);

// Makes the vertical scale signed, symmetric about a zero row in the middle of the plot height, at
// the largest absolute value of `values` (1 when none is above 0); its top and bottom labels give
// the largest and smallest value.
void setSignedScale(ChartFrame& frame, const ValueRange& values);

// The vertical scale of the chart over a data set with records whose frame holds the shown range:
// signed for the feed change, else from 0 to the chart's maximum.
void ApplyVerticalScale(ChartFrame& frame, const ChartState& chart, const CutDataSet& data);

// The frame of a view over a data set with records: layout, maximum of the plotted series and
// shown range.
ChartFrame ViewFrame(const ChartState& view, const CutDataSet& data);

// The horizontal values of a quantity read straight from their array (block numbers as unsigned
// 32-bit values), for the loop over every shown record.
class HorizontalArray {
public:
    HorizontalArray(const CutDataSet& data, HorizontalAxis axis)
        : distances_(axis.sortedValues(data)), blockNos_(data.blockNos.data()) {}

    float operator[](std::uint32_t i) const {
        return distances_ ? distances_[i]
                          : static_cast<float>(static_cast<std::uint32_t>(blockNos_[i]));
    }

private:
    const float* distances_;
    const std::int32_t* blockNos_;
};

// True when the horizontal values never decrease: the distance arrays and the times, as long as
// their running sum stayed finite. Block numbers may go up and down.
bool IsSortedHorizontally(const CutDataSet& data, HorizontalAxis axis);

// The first record at or beyond xLo, never past the last one: found by bisection where the
// values are sorted, from the data set's index on block numbers, else walked.
std::uint32_t firstShownRecord(const CutDataSet& data, const HorizontalArray& xs,
                               HorizontalAxis axis, float xLo);

// Where a walk from record `first` over the shown records stops: the first record from `first`
// on beyond xHi, or the count. Found as firstShownRecord finds its record.
std::uint32_t endOfShownRecords(const CutDataSet& data, const HorizontalArray& xs,
                                HorizontalAxis axis, std::uint32_t first, float xHi);
