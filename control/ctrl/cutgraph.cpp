#include "cutgraph.h"

#include "charttitles.h"
#include "curvexmodule.h"

void CCutGraph::took(const ChartDrawn& render) {
    drawn.fontHeight = render.fontHeight;
    if (render.withData)
        drawn = render;
}

HorizontalAxis CCutGraph::horizontal(const CutDataSet& data) const {
    if (chart.timeAxis == curvex::TimeAxisMode::Off) {
        times_.reset();
        return chart.distanceMode;
    }
    if (!times_ || !times_->builtFor(data, chart.timeAxis, chart.g00Feed)) {
        times_.reset();
        times_ = std::make_unique<TimeAxisValues>(data, chart.timeAxis, chart.g00Feed);
    }
    return {chart.distanceMode, times_.get()};
}

ChartState moduleChart(const CCutGraph& graph) {
    return moduleChart(graph, graph.chart);
}

ChartState moduleChart(const CCutGraph& graph, const ChartState& state) {
    const CurvexModule& module = curvexModule();
    ChartState chart = state;
    chart.timeValues = graph.horizontal(module.data).times();
    chart.drawMode = module.primaryDrawMode;
    FillChartTitles(chart, &module.titles, module.extraTexts);
    return chart;
}
