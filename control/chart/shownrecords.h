#pragma once

#include "cutdataset.h"
#include "horizontalaxis.h"
#include "machiningtime.h"
#include "shownrange.h"

#include <cstdint>

// The records whose horizontal value the chart draws inside its window: from the first record
// at or beyond the left end up to the first one after it that lies beyond the right end. Empty
// without records or for a quantity that draws no curve.
RecordRange ShownRecords(const CutDataSet& data, HorizontalAxis axis, ShownRange shown);

// The machining times of the records the chart shows for the quantity and shown range.
MachiningTimes ShownTimesOf(const CutDataSet& data, HorizontalAxis axis, ShownRange shown,
                            double g00Feed);
