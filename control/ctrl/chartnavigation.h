#pragma once

#include "cutgraph.h"
#include "viewhistory.h"
#include "viewranges.h"

#include <optional>

class QKeyEvent;
class QWheelEvent;
struct CutDataSet;

// What the wheel and the keys ask of the chart's shown range: the wheel zooms by 1.25 per notch
// about the pointer (with Shift, or sideways, it pans by a tenth), Left and Right pan by a tenth,
// Page Up and Page Down by nine tenths, + and - zoom about the centre, Home shows everything,
// Backspace and Alt+Left step back, Alt+Right forward.
class ChartNavigation {
public:
    static constexpr float kZoomStep = 1.25f;

    // The range the wheel turn asks for; nothing when it asks for none (part of a notch).
    std::optional<ShownRange> wheel(const QWheelEvent& event, const CCutGraph& graph,
                                    const CutDataSet& data);
    // The range the key asks for; nothing for a key that is not one of the chart's.
    std::optional<ShownRange> key(const QKeyEvent& event, const CCutGraph& graph,
                                  const CutDataSet& data);
    // Whether the key is one of the chart's (the control takes it from shortcuts).
    static bool isNavigationKey(const QKeyEvent& event);

    ViewHistory& history() { return history_; }

private:
    int wheelRemainder_ = 0;
    ViewHistory history_;
};
