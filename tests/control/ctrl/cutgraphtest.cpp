#include "cutgraph.h"
#include "curvexmodule.h"

#include <gtest/gtest.h>

namespace {

// A render without data gives its font height only: the total distance and the plot's ends that
// the mouse mapping and the scroll bar read stay those of the last render that had data.
TEST(CutGraph, TakesTheDataLayoutOnlyFromARenderWithData) {
    CCutGraph graph;
    ChartDrawn withData;
    withData.fontHeight = 30;
    withData.withData = true;
    withData.distMax = 7.0f;
    withData.plotLeft = 5;
    withData.plotRight = 6;
    graph.took(withData);
    ChartDrawn without;
    without.fontHeight = 12;
    graph.took(without);
    EXPECT_EQ(graph.drawn.fontHeight, 12);
    EXPECT_EQ(graph.drawn.distMax, 7.0f);
    EXPECT_EQ(graph.drawn.plotLeft, 5);
    EXPECT_EQ(graph.drawn.plotRight, 6);
}

TEST(CutGraph, ModuleChartTakesTheSharedSeriesAndTitles) {
    CurvexModule& module = curvexModule();
    module.reset();
    module.primaryDrawMode = 2;
    CCutGraph graph;
    graph.chart.distanceMode = 1;
    graph.chart.g00Feed = 1234.0f;
    graph.chart.shown.lower = 20.0f;
    const ChartState chart = moduleChart(graph);
    EXPECT_EQ(chart.drawMode, 2);
    EXPECT_EQ(chart.distanceMode, 1);
    EXPECT_EQ(chart.g00Feed, 1234.0f);
    EXPECT_EQ(chart.shown.lower, 20.0f);
    EXPECT_EQ(chart.xTitle, "");
    EXPECT_EQ(chart.yTitle, "");
    module.reset();
}

} // namespace
