#pragma once

#include "cutgraph.h"

// Mapping between chart pixels and percents of the whole horizontal range, as the last render
// laid the chart out.

// The percent at pixel x: -1 without data, the window's ends outside plotLeft..plotRight,
// linear in between.
float PercentAtX(const CCutGraph& graph, bool hasData, int x);

bool IsPercentInRange(float percent);

// The window a finished drag selects: the two percents in ascending order.
void ApplySelectedWindow(CCutGraph& graph, float anchorPercent, float endPercent);
