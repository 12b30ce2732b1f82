#include "chartplacement.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// The offset that centres `inner` in `outer`, as the chart was always centred: halves of an odd
// difference are dropped.
int centred(int outer, int inner) {
    return static_cast<int>((std::int64_t{outer} - inner) / 2);
}

} // namespace

QRect placeChartOnCanvas(QSize chart, QSize canvas) {
    if (chart.isEmpty() || canvas.isEmpty())
        return {};
    QSize placed = chart;
    if (chart.width() > canvas.width() || chart.height() > canvas.height()) {
        const double scale = std::min(static_cast<double>(canvas.width()) / chart.width(),
                                      static_cast<double>(canvas.height()) / chart.height());
        placed = QSize(
            std::clamp(static_cast<int>(std::lround(chart.width() * scale)), 1, canvas.width()),
            std::clamp(static_cast<int>(std::lround(chart.height() * scale)), 1, canvas.height()));
    }
    return {
        QPoint(centred(canvas.width(), placed.width()), centred(canvas.height(), placed.height())),
        placed};
}

QRect canvasToPage(const QRect& rect, QSize canvas, QSizeF page) {
    if (canvas.isEmpty())
        return {};
    const double sx = page.width() / canvas.width();
    const double sy = page.height() / canvas.height();
    const QPoint topLeft(static_cast<int>(std::lround(rect.left() * sx)),
                         static_cast<int>(std::lround(rect.top() * sy)));
    const QPoint bottomRight(static_cast<int>(std::lround((rect.left() + rect.width()) * sx)),
                             static_cast<int>(std::lround((rect.top() + rect.height()) * sy)));
    return {topLeft, QSize(bottomRight.x() - topLeft.x(), bottomRight.y() - topLeft.y())};
}
