#include "cutgraph.h"

#include "charttitles.h"
#include "curvexmodule.h"

void CCutGraph::took(const ChartDrawn& render) {
    drawn.fontHeight = render.fontHeight;
    if (render.withData)
        drawn = render;
}

ChartState moduleChart(const CCutGraph& graph) {
    const CurvexModule& module = curvexModule();
    ChartState chart = graph.chart;
    chart.drawMode = module.primaryDrawMode;
    FillChartTitles(chart, &module.titles, module.extraTexts);
    return chart;
}
