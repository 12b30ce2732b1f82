#include "cutgraph.h"

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
    chart.xTitle = module.titles.horizontalTitle(chart.distanceMode);
    chart.yTitle = module.titles.verticalTitle(module.primaryDrawMode);
    if (chart.compareMode != CompareMode::None) {
        chart.yTitle = module.extraTexts.compareTitle(static_cast<int>(chart.compareMode));
        chart.greyCaption = module.extraTexts.text(ExtraTexts::ProgrammedCaption);
        chart.greyNote = module.extraTexts.text(ExtraTexts::GreyNote);
    }
    return chart;
}
