#pragma once

#include "chartstate.h"

#include <QRect>
#include <QSize>

class QPaintDevice;
struct CutDataSet;

// The chart `chart` over `data` as a control shows it, drawn for a host: laid out at `chartSize`
// pixels and placed into `target` (device pixels of `device`), without the selection band or any
// other marks of the screen. On an image whose target has the chart's size the pixels are the
// screen's; on any other device or target the chart is vector drawing scaled into the target.
// False when a size is outside its range or the device cannot be painted on.
bool DrawChartOn(QPaintDevice& device, ChartState chart, const CutDataSet* data, QSize chartSize,
                 const QRect& target);
