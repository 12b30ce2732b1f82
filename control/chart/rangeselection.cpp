#include "rangeselection.h"

float PercentAtX(const ChartState& chart, const ChartDrawn& drawn, bool hasData, int x) {
    if (!hasData)
        return -1.0f;
    if (x <= drawn.plotLeft)
        return chart.lowerPercent;
    if (x >= drawn.plotRight)
        return chart.upperPercent;
    const float fraction = static_cast<float>(x - drawn.plotLeft) /
                           static_cast<float>(drawn.plotRight - drawn.plotLeft);
    return chart.lowerPercent + fraction * (chart.upperPercent - chart.lowerPercent);
}

bool IsPercentInRange(float percent) {
    return percent >= 0.0f && percent <= 100.0f;
}

void ApplySelectedWindow(ChartState& chart, float anchorPercent, float endPercent) {
    const bool ascending = endPercent > anchorPercent;
    chart.upperPercent = ascending ? endPercent : anchorPercent;
    chart.lowerPercent = ascending ? anchorPercent : endPercent;
}
