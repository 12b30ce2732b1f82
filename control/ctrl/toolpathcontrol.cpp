#include "toolpathcontrol.h"

#include "toolpathchartstyle.h"
#include "toolpathpick.h"
#include "toolpathpicture.h"
#include "toolpathrenderer.h"

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
    ToolpathStyle style = ToolpathStyleOf(chart, data, mode_);
    if (emphasised_)
        style.emphasised = *emphasised_;
    const ToolpathRenderer renderer(model, style, ToolpathMarks{marked});
    return RenderToolpath(device, renderer, fit(), pixels_,
                          detail == Detail::Draft ? DraftStride(model.count()) : 1);
}

bool ToolpathControl::drawReport(QPaintDevice& device, const ChartState& chart,
                                 const CutDataSet& data, int width, int height,
                                 ToolpathColourMode colours) {
    if (width < 1 || height < 1 || width > curvex::kMaxChartSide || height > curvex::kMaxChartSide)
        return false;
    return DrawReportToolpath(device, modelOf(data), chart, data, width, height, colours);
}

std::optional<std::uint32_t> ToolpathControl::pick(const CutDataSet& data, double x, double y) {
    if (width_ < 1 || height_ < 1)
        return std::nullopt;
    return PickToolpathSegment(modelOf(data), fit(), x, y);
}

bool ToolpathControl::setView(std::int32_t view) {
    if (view < static_cast<std::int32_t>(ToolpathViewKind::Top) ||
        view > static_cast<std::int32_t>(ToolpathViewKind::Iso))
        return false;
    view_ = ToolpathView(static_cast<ToolpathViewKind>(view));
    zoom_ = {};
    return true;
}

std::optional<ToolpathColourMode> ToolpathControl::colouringOf(std::int32_t mode) {
    if (mode < static_cast<std::int32_t>(ToolpathColourMode::Chart) ||
        mode > static_cast<std::int32_t>(ToolpathColourMode::FeedChange))
        return std::nullopt;
    return static_cast<ToolpathColourMode>(mode);
}

bool ToolpathControl::setColour(std::int32_t mode) {
    const auto colouring = colouringOf(mode);
    if (!colouring)
        return false;
    mode_ = *colouring;
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
