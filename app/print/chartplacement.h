#pragma once

#include <QRect>
#include <QSize>
#include <QSizeF>

class QPageLayout;

// The margin kept inside the printer's printable area, where a scaled chart's edge may lie.
inline constexpr double kPrintMarginMm = 5.0;

// Where the chart goes on the page canvas (screen pixels of the paper). `area` is the part of the
// canvas the chart must fit in. A chart that fits it is placed at its own size, centred on the
// canvas, as it always was; a larger one is scaled down to fit `area`, its aspect kept, and
// centred in it, so no part of it is cut off or reaches past the area. Empty when the chart,
// the canvas or the area is empty.
QRect placeChartOnCanvas(QSize chart, QSize canvas, const QRect& area);

// The printable area of `layout` (its margins, whatever its mode) less kPrintMarginMm on each
// side, in the pixels of a canvas of `canvas` pixels that shows the whole page. The whole canvas
// when the margins leave nothing of a page that small.
QRect printableArea(const QPageLayout& layout, QSize canvas);

// `rect` of a canvas of `canvas` pixels, in the pixels of a device page of `page` pixels that
// shows the whole canvas.
QRect canvasToPage(const QRect& rect, QSize canvas, QSizeF page);
