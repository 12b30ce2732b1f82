#pragma once

#include "chartstate.h"
#include "horizontalaxis.h"
#include "timeaxisvalues.h"

#include <cstdint>
#include <memory>

// The graph state of one control: the chart it shows and what its last render gave. The plotted
// series and the axis titles are the module's, shared by every control: moduleChart fills them in.
class CCutGraph {
public:
    ChartState chart;
    std::int32_t drawModeMask = 0;
    // The font height of the last render; the total distance and the plot's ends of the last
    // render that had data.
    ChartDrawn drawn;

    void took(const ChartDrawn& render);

    // The horizontal quantity over `data`: while the time axis is on, its times, built here when
    // missing or built for other records, another mode or another G00 feed (the old array is
    // dropped first, so that one array at a time is held); else the distance mode, and the times
    // are dropped.
    HorizontalAxis horizontal(const CutDataSet& data) const;

private:
    mutable std::unique_ptr<TimeAxisValues> times_;
};

// The chart this control draws: its own state with the module's plotted series and axis titles.
ChartState moduleChart(const CCutGraph& graph);
// The same of `state`, a changed copy of the control's own (another compare mode takes its own
// axis title).
ChartState moduleChart(const CCutGraph& graph, const ChartState& state);
