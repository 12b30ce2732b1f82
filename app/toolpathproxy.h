#pragma once

#include "curvexproxy.h"

#include <QPointF>
#include <QSize>

#include <cstdint>
#include <optional>

// The graph control's toolpath members, typed: each answer is nothing when the control lacks the
// member (an older control), and the program then offers no toolpath.
class ToolpathProxy {
public:
    explicit ToolpathProxy(CurvexProxy& viewer) : mViewer(viewer) {}

    std::optional<bool> setView(curvex::ToolpathViewKind view);
    std::optional<bool> setColour(curvex::ToolpathColourMode mode);
    // The path at `size` drawn onto the surface `hdc`.
    std::optional<bool> draw(std::int32_t hdc, QSize size);
    // A draft of the path, quick enough to follow a drag; the whole path from a control without
    // the draft.
    std::optional<bool> drawDraft(std::int32_t hdc, QSize size);
    // The path as a report shows it (iso, fitted, the chart's colours), the view left as it is.
    std::optional<bool> drawReport(std::int32_t hdc, QSize size);
    // The same in the colouring `colours` with its colour bar; the colouring the user sees stays.
    std::optional<bool> drawReport(std::int32_t hdc, QSize size,
                                   curvex::ToolpathColourMode colours);
    // The record picked at `at` of the last drawing, or -1.
    std::optional<std::int32_t> pick(QPointF at);
    std::optional<bool> orbit(float degrees, float tilt);
    // Zooms by `factor` about `at` and moves by `by` pixels; factor 0 fits the whole path.
    std::optional<bool> move(float factor, QPointF at, QPointF by);
    // How many segments the path leaves out; nothing from a control without the member.
    std::optional<std::int32_t> leftOut();

private:
    std::optional<bool> asBool(int dispid, QVariantList args);

    CurvexProxy& mViewer;
};
