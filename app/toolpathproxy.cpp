#include "toolpathproxy.h"

#include "curvexids.h"

std::optional<bool> ToolpathProxy::asBool(int dispid, QVariantList args) {
    const auto result = mViewer.callMethod(dispid, std::move(args));
    if (!result)
        return std::nullopt;
    return result->toBool();
}

std::optional<bool> ToolpathProxy::setView(curvex::ToolpathViewKind view) {
    return asBool(curvex::DispSetToolpathView, {static_cast<std::int32_t>(view)});
}

std::optional<bool> ToolpathProxy::setColour(curvex::ToolpathColourMode mode) {
    return asBool(curvex::DispSetToolpathColour, {static_cast<std::int32_t>(mode)});
}

std::optional<bool> ToolpathProxy::draw(std::int32_t hdc, QSize size) {
    return asBool(curvex::DispDrawToolpath, {hdc, size.width(), size.height()});
}

std::optional<bool> ToolpathProxy::drawDraft(std::int32_t hdc, QSize size) {
    if (const auto drawn =
            asBool(curvex::DispDrawToolpathDraft, {hdc, size.width(), size.height()}))
        return drawn;
    return draw(hdc, size);
}

std::optional<bool> ToolpathProxy::drawReport(std::int32_t hdc, QSize size) {
    return asBool(curvex::DispDrawReportToolpath, {hdc, size.width(), size.height()});
}

std::optional<bool> ToolpathProxy::drawReport(std::int32_t hdc, QSize size,
                                              curvex::ToolpathColourMode colours) {
    return asBool(curvex::DispDrawColouredReportToolpath,
                  {hdc, size.width(), size.height(), static_cast<std::int32_t>(colours)});
}

std::optional<std::int32_t> ToolpathProxy::pick(QPointF at) {
    const auto result = mViewer.callMethod(
        curvex::DispPickToolpath, {static_cast<float>(at.x()), static_cast<float>(at.y())});
    if (!result)
        return std::nullopt;
    return result->toInt();
}

std::optional<std::int32_t> ToolpathProxy::leftOut() {
    const auto result = mViewer.callMethod(curvex::DispGetToolpathLeftOut, {});
    if (!result)
        return std::nullopt;
    return result->toInt();
}

std::optional<bool> ToolpathProxy::orbit(float degrees, float tilt) {
    return asBool(curvex::DispOrbitToolpath, {degrees, tilt});
}

std::optional<bool> ToolpathProxy::move(float factor, QPointF at, QPointF by) {
    return asBool(curvex::DispMoveToolpath,
                  {factor, static_cast<float>(at.x()), static_cast<float>(at.y()),
                   static_cast<float>(by.x()), static_cast<float>(by.y())});
}
