#pragma once

#include <QRect>
#include <QSize>
#include <QSizeF>

// Where the chart goes on the page canvas (screen pixels of the paper): a chart that fits is
// placed at its own size, centred, as it always was; a larger one is scaled down to fit, its
// aspect kept, and centred, so no part of it is cut off. Empty when either size is empty.
QRect placeChartOnCanvas(QSize chart, QSize canvas);

// `rect` of a canvas of `canvas` pixels, in the pixels of a device page of `page` pixels that
// shows the whole canvas.
QRect canvasToPage(const QRect& rect, QSize canvas, QSizeF page);
