#include "chartoutput.h"

#include "graphrenderer.h"

#include <QImage>
#include <QPainter>

namespace {

// A target larger than this many device pixels along a side is refused.
constexpr int kMaxTargetSide = 1 << 20;

bool sideInRange(int side, int maximum) {
    return side >= 1 && side <= maximum;
}

bool drawPixels(QPaintDevice& device, const ChartState& chart, const CutDataSet* data,
                const QRect& target) {
    QImage image(chart.width, chart.height, QImage::Format_RGB32);
    if (image.isNull())
        return false;
    DrawGraph(image, chart, data);
    QPainter painter(&device);
    if (!painter.isActive())
        return false;
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(target.topLeft(), image);
    return painter.end();
}

bool drawVectors(QPaintDevice& device, const ChartState& chart, const CutDataSet* data,
                 const QRect& target) {
    QPainter painter(&device);
    if (!painter.isActive())
        return false;
    painter.translate(target.topLeft());
    painter.scale(static_cast<double>(target.width()) / chart.width,
                  static_cast<double>(target.height()) / chart.height);
    DrawGraph(painter, chart, data);
    return painter.end();
}

} // namespace

bool DrawChartOn(QPaintDevice& device, ChartState chart, const CutDataSet* data, QSize chartSize,
                 const QRect& target) {
    if (!sideInRange(chartSize.width(), curvex::kMaxChartSide) ||
        !sideInRange(chartSize.height(), curvex::kMaxChartSide) ||
        !sideInRange(target.width(), kMaxTargetSide) ||
        !sideInRange(target.height(), kMaxTargetSide))
        return false;
    chart.width = chartSize.width();
    chart.height = chartSize.height();
    const bool pixels = device.devType() == QInternal::Image && target.size() == chartSize;
    return pixels ? drawPixels(device, chart, data, target)
                  : drawVectors(device, chart, data, target);
}
