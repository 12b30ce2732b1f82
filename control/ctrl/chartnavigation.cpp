#include "chartnavigation.h"

#include "cutdataset.h"
#include "rangeselection.h"

#include <QKeyEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kNotch = 120;
constexpr float kPanStep = 0.1f;
constexpr float kPageStep = 0.9f;

ShownRange shownOf(const CCutGraph& graph) {
    return graph.chart.shown;
}

enum class KeyAction {
    None,
    PanLeft,
    PanRight,
    PageLeft,
    PageRight,
    ZoomIn,
    ZoomOut,
    Home,
    Back,
    Forward
};

KeyAction actionOf(const QKeyEvent& event) {
    const bool alt = event.modifiers() & Qt::AltModifier;
    switch (event.key()) {
    case Qt::Key_Left:
        return alt ? KeyAction::Back : KeyAction::PanLeft;
    case Qt::Key_Right:
        return alt ? KeyAction::Forward : KeyAction::PanRight;
    case Qt::Key_PageUp:
        return KeyAction::PageLeft;
    case Qt::Key_PageDown:
        return KeyAction::PageRight;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        return KeyAction::ZoomIn;
    case Qt::Key_Minus:
        return KeyAction::ZoomOut;
    case Qt::Key_Home:
        return KeyAction::Home;
    case Qt::Key_Backspace:
        return KeyAction::Back;
    default:
        return KeyAction::None;
    }
}

} // namespace

std::optional<ShownRange> ChartNavigation::wheel(const QWheelEvent& event, const CCutGraph& graph,
                                                 const CutDataSet& data) {
    if (!data.hasData())
        return std::nullopt;
    const QPoint delta = event.angleDelta();
    const bool sideways = delta.x() != 0;
    const bool pan = sideways || (event.modifiers() & Qt::ShiftModifier);
    wheelRemainder_ += sideways ? delta.x() : delta.y();
    const int notches = wheelRemainder_ / kNotch;
    wheelRemainder_ -= notches * kNotch;
    if (notches == 0)
        return std::nullopt;
    const float minWidth = MinimumWidthPercent(data, graph.horizontal(data));
    if (pan)
        return PanRange(shownOf(graph), -kPanStep * static_cast<float>(notches), minWidth);
    const int column =
        std::clamp(event.position().toPoint().x(), graph.drawn.plotLeft, graph.drawn.plotRight);
    const float anchor = PercentAtX(graph.chart, graph.drawn, true, column);
    const float factor = std::pow(kZoomStep, static_cast<float>(notches));
    return ZoomAboutColumn(shownOf(graph), LayoutFrame(graph.chart.width, graph.chart.height),
                           anchor, column, factor, minWidth);
}

std::optional<ShownRange> ChartNavigation::key(const QKeyEvent& event, const CCutGraph& graph,
                                               const CutDataSet& data) {
    if (!data.hasData())
        return std::nullopt;
    const float minWidth = MinimumWidthPercent(data, graph.horizontal(data));
    const ShownRange shown = shownOf(graph);
    switch (actionOf(event)) {
    case KeyAction::PanLeft:
        return PanRange(shown, -kPanStep, minWidth);
    case KeyAction::PanRight:
        return PanRange(shown, kPanStep, minWidth);
    case KeyAction::PageLeft:
        return PanRange(shown, -kPageStep, minWidth);
    case KeyAction::PageRight:
        return PanRange(shown, kPageStep, minWidth);
    case KeyAction::ZoomIn:
        return ZoomAboutCentre(shown, kZoomStep, minWidth);
    case KeyAction::ZoomOut:
        return ZoomAboutCentre(shown, 1.0f / kZoomStep, minWidth);
    case KeyAction::Home:
        return ShownRange{0.0f, 100.0f};
    case KeyAction::Back:
        return history_.back();
    case KeyAction::Forward:
        return history_.forward();
    case KeyAction::None:
        break;
    }
    return std::nullopt;
}

bool ChartNavigation::isNavigationKey(const QKeyEvent& event) {
    return actionOf(event) != KeyAction::None;
}
