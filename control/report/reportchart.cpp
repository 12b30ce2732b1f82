#include "reportchart.h"

#include <QPainter>
#include <QPicture>

namespace {

// Above the chart: its vertical axis title, centred on the plot, can be longer than the plot is
// high and reach out above it.
constexpr double kTopRoom = 24.0;

} // namespace

ReportChart::ReportChart(Drawing drawing, double share)
    : drawing_(std::move(drawing)), share_(share) {}

double ReportChart::height(QPaintDevice& device, double) const {
    return device.height() * share_;
}

bool ReportChart::draw(QPainter& painter, const QRectF& area) const {
    const QRectF chart = area.adjusted(0.0, kTopRoom, 0.0, 0.0);
    const QSize size = chart.toAlignedRect().size();
    QPicture picture;
    if (size.isEmpty() || !drawing_(picture, size))
        return false;
    painter.drawPicture(chart.topLeft(), picture);
    return true;
}
