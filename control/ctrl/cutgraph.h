#pragma once

#include "chartstate.h"

#include <cstdint>

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
};

// The chart this control draws: its own state with the module's plotted series and axis titles.
ChartState moduleChart(const CCutGraph& graph);
