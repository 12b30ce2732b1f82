#pragma once

#include "chartframe.h"
#include "cutdataset.h"
#include "machiningtime.h"
#include "shownrange.h"

#include <cstdint>

// The narrowest range worth showing: the renderer widens anything below 3.0 units of the
// horizontal quantity (mm, block numbers or seconds), so a narrower range would look the same.
float MinimumWidthPercent(const CutDataSet& data, HorizontalAxis axis);

// The range that shows `records` on the quantity `axis`: its lower end at the first record's
// value, its upper end at the last one's (100 when they run to the last record), each percentage
// the nearest one whose value the chart reaches; widened about its place to minWidth when
// narrower. The whole range for no
// records or a quantity without a curve.
ShownRange RangeOfRecords(const CutDataSet& data, HorizontalAxis axis, RecordRange records,
                          float minWidth);

// `range` moved into 0..100 with its width kept between minWidth and 100.
ShownRange ClampRange(ShownRange range, float minWidth);

// `range` moved by `fraction` of its width (negative towards the start), inside 0..100.
ShownRange PanRange(ShownRange range, float fraction, float minWidth);

// A range of `width` around `centre`, inside 0..100.
ShownRange RangeAround(float centre, float width, float minWidth);

// The range over lowerPercent..upperPercent with a tenth of its width either side, each end
// within 0..100; a range narrower than minWidth grows to minWidth about its centre.
ShownRange RangeOverSpan(float lowerPercent, float upperPercent, float minWidth);

// `range` narrowed by `factor` (wider for a factor below 1) about its centre.
ShownRange ZoomAboutCentre(ShownRange range, float factor, float minWidth);

// `range` narrowed by `factor` so that the value at `anchorPercent`, drawn at pixel column
// `column` now, stays there in the chart `layout` lays out (whose plot starts right of the break
// gap once the range no longer starts at 0). Where that would take a range starting before 0, or
// the column lies over the gap, the range starts at 0.
ShownRange ZoomAboutColumn(ShownRange range, const ChartFrame& layout, float anchorPercent,
                           int column, float factor, float minWidth);
