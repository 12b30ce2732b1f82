#include "chartpicture.h"

#include "graphrenderer.h"

#include <QImage>
#include <QPainter>

PictureWriter ChartPicture(const ChartState& chart, const CutDataSet& data) {
    return PictureWriter(
        QStringLiteral("chart"), QSize(chart.width, chart.height),
        [chart, &data](QImage& image) {
            DrawGraph(image, chart, &data);
            return true;
        },
        [chart, &data](QPaintDevice& device) {
            QPainter painter(&device);
            if (!painter.isActive())
                return false;
            DrawGraph(painter, chart, &data);
            return painter.end();
        });
}
