#pragma once

#include "chartstate.h"
#include "toolpathcolouring.h"

// The path's colours as the chart gives them: its curve colours and G00 feed, and the records of
// its shown range emphasised.
ToolpathStyle ToolpathStyleOf(const ChartState& chart, const CutDataSet& data,
                              ToolpathColourMode mode);
