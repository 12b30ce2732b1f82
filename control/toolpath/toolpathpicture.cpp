#include "toolpathpicture.h"

#include "toolpathchartstyle.h"
#include "toolpathrenderer.h"

#include <QImage>
#include <QPainter>

bool RenderToolpath(QPaintDevice& device, const ToolpathRenderer& renderer, const ToolpathFit& fit,
                    ToolpathPixels& pixels, std::uint32_t stride) {
    auto* image = dynamic_cast<QImage*>(&device);
    if (image && image->width() == fit.width() && image->height() == fit.height() &&
        image->depth() == 32) {
        renderer.drawImage(*image, fit, pixels, stride);
        return true;
    }
    QPainter painter(&device);
    if (!painter.isActive())
        return false;
    renderer.paint(painter, fit);
    return painter.end();
}

bool DrawReportToolpath(QPaintDevice& device, const ToolpathModel& model, const ChartState& chart,
                        const CutDataSet& data, int width, int height, ToolpathColourMode colours) {
    const ToolpathRenderer renderer(model, ToolpathStyleOf(chart, data, colours),
                                    ToolpathMarks{std::nullopt});
    ToolpathPixels pixels;
    return RenderToolpath(
        device, renderer,
        ToolpathFit(model.box(), ToolpathView(ToolpathViewKind::Iso), width, height, {}), pixels);
}
