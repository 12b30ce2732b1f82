#include "chartplacement.h"

#include <QPageLayout>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr double kMmPerInch = 25.4;
// The resolution the page layout is measured in: fine enough that rounding to its pixels
// stays below a canvas pixel.
constexpr int kLayoutDpi = 1200;

// The offset that centres `inner` in `outer`, as the chart was always centred: halves of an odd
// difference are dropped.
int centred(int outer, int inner) {
    return static_cast<int>((std::int64_t{outer} - inner) / 2);
}

} // namespace

QRect placeChartOnCanvas(QSize chart, QSize canvas, const QRect& area) {
    if (chart.isEmpty() || canvas.isEmpty() || area.isEmpty())
        return {};
    if (chart.width() <= area.width() && chart.height() <= area.height())
        return {QPoint(centred(canvas.width(), chart.width()),
                       centred(canvas.height(), chart.height())),
                chart};
    const double scale = std::min(static_cast<double>(area.width()) / chart.width(),
                                  static_cast<double>(area.height()) / chart.height());
    const QSize placed(
        std::clamp(static_cast<int>(std::lround(chart.width() * scale)), 1, area.width()),
        std::clamp(static_cast<int>(std::lround(chart.height() * scale)), 1, area.height()));
    return {area.topLeft() + QPoint(centred(area.width(), placed.width()),
                                    centred(area.height(), placed.height())),
            placed};
}

QRect printableArea(const QPageLayout& layout, QSize canvas) {
    QPageLayout standard = layout;
    standard.setMode(QPageLayout::StandardMode);
    const QRect page = standard.fullRectPixels(kLayoutDpi);
    const double margin = kPrintMarginMm / kMmPerInch * kLayoutDpi;
    const QRectF inner =
        QRectF(standard.paintRectPixels(kLayoutDpi)).adjusted(margin, margin, -margin, -margin);
    if (page.isEmpty() || inner.isEmpty())
        return {QPoint(), canvas};
    const double sx = static_cast<double>(canvas.width()) / page.width();
    const double sy = static_cast<double>(canvas.height()) / page.height();
    // Whole canvas pixels inside the area.
    const QPoint topLeft(static_cast<int>(std::ceil(inner.left() * sx)),
                         static_cast<int>(std::ceil(inner.top() * sy)));
    const QPoint bottomRight(static_cast<int>(std::floor(inner.right() * sx)),
                             static_cast<int>(std::floor(inner.bottom() * sy)));
    const QRect area(topLeft, QSize(bottomRight.x() - topLeft.x(), bottomRight.y() - topLeft.y()));
    return area.isEmpty() ? QRect(QPoint(), canvas) : area;
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
    const QRect area(topLeft, QSize(bottomRight.x() - topLeft.x(), bottomRight.y() - topLeft.y()));
    return area.isEmpty() ? QRect(QPoint(), canvas) : area;
}
