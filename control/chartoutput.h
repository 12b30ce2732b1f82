#pragma once

#include <QRect>
#include <QSize>

class CCutGraph;
class QPaintDevice;

// The chart as a control shows it, drawn for a host: laid out at `chartSize` pixels with the
// shown state of `shown` (range, quantity, axis, colours) and placed into `target` (device pixels
// of `device`), without the selection band or any other marks of the screen. On an image whose
// target has the chart's size the pixels are the screen's; on any other device or target the
// chart is vector drawing scaled into the target. The layout of `shown` is as it was afterwards.
// False when a size is outside its range or the device cannot be painted on.
bool DrawChartOn(QPaintDevice& device, CCutGraph& shown, QSize chartSize, const QRect& target);

// The largest chart side a host may ask for.
inline constexpr int kMaxChartSide = 16384;
