#pragma once

#include "chartstate.h"
#include "cutdataset.h"
#include "picturewriter.h"

// The chart of `chart` over `data` as the graph control draws it: its pixels for PNG, its vector
// drawing for SVG and PDF. `data` must outlive the writer.
PictureWriter ChartPicture(const ChartState& chart, const CutDataSet& data);
