#pragma once

#include "chartframe.h"

// The top of the vertical scale of a chart over a data set with records, whose frame holds the
// shown range: the file's maximum of the plotted series (of both series of a compare chart), or
// with fit height the largest value drawn in the shown range, read from the drawing index.
float ChartMaximum(const ChartState& chart, const CutDataSet& data, const ChartFrame& frame);

// The smallest and largest feed change the feed-change chart scales to: of the whole file, or
// with fit height of the records drawn in the shown range; empty when none has a change.
ValueRange ChartChangeRange(const ChartState& chart, const CutDataSet& data,
                            const ChartFrame& frame);
