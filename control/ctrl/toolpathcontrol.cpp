#include "toolpathcontrol.h"

#include "toolpathchartstyle.h"
#include "toolpathpick.h"
#include "toolpathrenderer.h"

#include <QImage>
#include <QPaintDevice>

#include <cmath>

ToolpathControl::ToolpathControl() = default;
ToolpathControl::~ToolpathControl() = default;

// A new data set, or one loaded again, gets a new model; the records are never copied.
const ToolpathModel& ToolpathControl::modelOf(const CutDataSet& data) {
    if (!model_ || data_ != &data || serial_ != data.index.serial()) {
        model_ = std::make_unique<ToolpathModel>(data);
        data_ = &data;
        serial_ = data.index.serial();
        pixels_.release();
    }
    return *model_;
}

ToolpathFit ToolpathControl::fit() const {
    return ToolpathFit(model_->box(), view_, width_, height_, zoom_);
}

bool ToolpathControl::draw(QPaintDevice& device, const ChartState& chart, const CutDataSet& data,
                           int width, int height, std::optional<std::uint32_t> marked,
                           Detail detail) {
    if (width < 1 || height < 1 || width > curvex::kMaxChartSide || height > curvex::kMaxChartSide)
        return false;
    const ToolpathModel& model = modelOf(data);
    width_ = width;
    height_ = height;
    const ToolpathRenderer renderer(model, ToolpathStyleOf(chart, data, mode_),
                                    ToolpathMarks{marked});
    return render(device, renderer, fit(), pixels_,
                  detail == Detail::Draft ? DraftStride(model.count()) : 1);
}

bool ToolpathControl::drawReport(QPaintDevice& device, const ChartState& chart,
                                 const CutDataSet& data, int width, int height) {
    if (width < 1 || height < 1 || width > curvex::kMaxChartSide || height > curvex::kMaxChartSide)
        return false;
    const ToolpathModel& model = modelOf(data);
    const ToolpathRenderer renderer(model, ToolpathStyleOf(chart, data, ToolpathColourMode::Chart),
                                    ToolpathMarks{std::nullopt});
    ToolpathPixels pixels;
    return render(device, renderer,
                  ToolpathFit(model.box(), ToolpathView(ToolpathViewKind::Iso), width, height, {}),
                  pixels);
}

// Into an image of the size straight from the kept pixels, else through a painter, which draws
// every segment.
bool ToolpathControl::render(QPaintDevice& device, const ToolpathRenderer& renderer,
                             const ToolpathFit& fit, ToolpathPixels& pixels, std::uint32_t stride) {
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

std::optional<std::uint32_t> ToolpathControl::pick(const CutDataSet& data, double x, double y) {
    if (width_ < 1 || height_ < 1)
        return std::nullopt;
    return PickToolpathSegment(modelOf(data), fit(), x, y);
}

bool ToolpathControl::setView(std::int32_t view) {
    if (view < 0 || view > 3)
        return false;
    view_ = ToolpathView(static_cast<ToolpathViewKind>(view));
    zoom_ = {};
    return true;
}

bool ToolpathControl::setColour(std::int32_t mode) {
    if (mode < 0 || mode > 3)
        return false;
    mode_ = static_cast<ToolpathColourMode>(mode);
    return true;
}

bool ToolpathControl::orbit(float degrees, float tilt) {
    if (!std::isfinite(degrees) || !std::isfinite(tilt))
        return false;
    view_ = view_.orbited(degrees, tilt);
    return true;
}

bool ToolpathControl::move(float factor, float x, float y, float dx, float dy) {
    if (!(factor >= 0.0f) || !std::isfinite(factor) || !std::isfinite(x) || !std::isfinite(y) ||
        !std::isfinite(dx) || !std::isfinite(dy))
        return false;
    if (factor == 0.0f) {
        zoom_ = {};
        return true;
    }
    if (!model_ || width_ < 1)
        return false;
    zoom_ = fit().zoomedAbout(factor, x, y).panned(dx, dy).zoom();
    return true;
}
