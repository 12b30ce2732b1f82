#pragma once

#include "chartstate.h"

// Mapping between chart pixels and percents of the whole horizontal range, as the last render
// laid the chart out.

// The percent at pixel x: -1 without data, the shown range's ends outside the plot's ends of the
// render `drawn`, linear in between.
float PercentAtX(const ChartState& chart, const ChartDrawn& drawn, bool hasData, int x);

bool IsPercentInRange(float percent);

// The shown range a finished drag selects: the two percents in ascending order.
void ApplySelectedWindow(ChartState& chart, float anchorPercent, float endPercent);
