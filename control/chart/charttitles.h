#pragma once

#include "axistitles.h"
#include "chartstate.h"
#include "extratexts.h"

// Fills the chart's texts from the settings file: the horizontal title of its time axis, else of
// its distance mode; the vertical title of its draw mode, or the compare title when quantities are
// compared; and the legend's caption of the programmed series. Without `titles` the axis titles are
// the defaults.
void FillChartTitles(ChartState& chart, const AxisTitles* titles, const ExtraTexts& extra);
