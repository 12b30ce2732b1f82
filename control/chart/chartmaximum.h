#pragma once

#include "chartframe.h"

// The top of the vertical scale of a chart over a data set with records, whose frame holds the
// shown range: the file's maximum of the plotted series (of both series of a compare chart), or
// with fit height the largest value drawn in the shown range, read from the drawing index.
float ChartMaximum(const ChartState& chart, const CutDataSet& data, const ChartFrame& frame);
