#include "rangeselection.h"

float PercentAtX(const ChartState& chart, const ChartDrawn& drawn, bool hasData, int x) {
    if (!hasData)
        return -1.0f;
    if (x <= drawn.plotLeft)
        return chart.shown.lower;
    if (x >= drawn.plotRight)
        return chart.shown.upper;
    const float fraction = static_cast<float>(x - drawn.plotLeft) /
                           static_cast<float>(drawn.plotRight - drawn.plotLeft);
    return chart.shown.lower + fraction * chart.shown.width();
}

bool IsPercentInRange(float percent) {
    return percent >= 0.0f && percent <= 100.0f;
}

void ApplySelectedWindow(ChartState& chart, float anchorPercent, float endPercent) {
    const bool ascending = endPercent > anchorPercent;
    chart.shown.upper = ascending ? endPercent : anchorPercent;
    chart.shown.lower = ascending ? anchorPercent : endPercent;
}
