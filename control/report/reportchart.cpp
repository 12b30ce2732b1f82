#include "reportchart.h"

#include <QPainter>
#include <QPicture>

ReportChart::ReportChart(Drawing drawing, double share)
    : mDrawing(std::move(drawing)), mShare(share) {}

double ReportChart::height(QPaintDevice& device, double) const {
    return device.height() * mShare;
}

bool ReportChart::draw(QPainter& painter, const QRectF& area) const {
    const QSize size = area.toAlignedRect().size();
    QPicture picture;
    if (size.isEmpty() || !mDrawing(picture, size))
        return false;
    painter.drawPicture(area.topLeft(), picture);
    return true;
}
