// The control's toolpath members: each hands the module's data set and the chart to the
// control's ToolpathControl.
#include "curvexctrl.h"

#include "curvexids.h"
#include "curvexmodule.h"
#include "surfaceregistry.h"
#include "toolpathcontrol.h"

bool CCurvexCtrl::DrawToolpath(std::int32_t surfaceHandle, std::int32_t width,
                               std::int32_t height) {
    QPaintDevice* target = component::SurfaceRegistry::find(surfaceHandle);
    return target != nullptr && toolpath_->draw(*target, moduleChart(*graph_), curvexModule().data,
                                                width, height, readOut_.marked());
}

bool CCurvexCtrl::DrawToolpathDraft(std::int32_t surfaceHandle, std::int32_t width,
                                    std::int32_t height) {
    QPaintDevice* target = component::SurfaceRegistry::find(surfaceHandle);
    return target != nullptr &&
           toolpath_->draw(*target, moduleChart(*graph_), curvexModule().data, width, height,
                           readOut_.marked(), ToolpathControl::Detail::Draft);
}

bool CCurvexCtrl::DrawReportToolpath(std::int32_t surfaceHandle, std::int32_t width,
                                     std::int32_t height) {
    QPaintDevice* target = component::SurfaceRegistry::find(surfaceHandle);
    return target != nullptr &&
           toolpath_->drawReport(*target, moduleChart(*graph_), curvexModule().data, width, height);
}

bool CCurvexCtrl::DrawColouredReportToolpath(std::int32_t surfaceHandle, std::int32_t width,
                                             std::int32_t height, std::int32_t colours) {
    QPaintDevice* target = component::SurfaceRegistry::find(surfaceHandle);
    const auto colouring = ToolpathControl::colouringOf(colours);
    return target != nullptr && colouring &&
           toolpath_->drawReport(*target, moduleChart(*graph_), curvexModule().data, width, height,
                                 *colouring);
}

bool CCurvexCtrl::SetToolpathView(std::int32_t view) {
    return toolpath_->setView(view);
}

bool CCurvexCtrl::SetToolpathColour(std::int32_t mode) {
    return toolpath_->setColour(mode);
}

// The picked record is marked in the chart, which moves its range to it when it lies outside.
std::int32_t CCurvexCtrl::PickToolpath(float x, float y) {
    const auto picked = toolpath_->pick(curvexModule().data, x, y);
    if (!picked)
        return -1;
    const auto index = static_cast<std::int32_t>(*picked);
    MarkRecord(index);
    if (sink_)
        sink_->onEvent(curvex::EventToolpathPicked, {QVariant(index)});
    return index;
}

bool CCurvexCtrl::OrbitToolpath(float degrees, float tilt) {
    return toolpath_->orbit(degrees, tilt);
}

bool CCurvexCtrl::MoveToolpath(float factor, float x, float y, float dx, float dy) {
    return toolpath_->move(factor, x, y, dx, dy);
}

std::int32_t CCurvexCtrl::GetToolpathLeftOut() {
    return static_cast<std::int32_t>(toolpath_->leftOut(curvexModule().data));
}
