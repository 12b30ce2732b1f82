#include "charttitles.h"

void FillChartTitles(ChartState& chart, const AxisTitles* titles, const ExtraTexts& extra) {
    if (chart.timeAxis != curvex::TimeAxisMode::Off)
        chart.xTitle = extra.timeAxisTitle(chart.timeAxis);
    else
        chart.xTitle = titles ? titles->horizontalTitle(chart.distanceMode)
                              : AxisTitles::defaultHorizontalTitle(chart.distanceMode);
    if (chart.compareMode != CompareMode::None)
        chart.yTitle = extra.compareTitle(chart.compareMode);
    else
        chart.yTitle = titles ? titles->verticalTitle(chart.drawMode)
                              : AxisTitles::defaultVerticalTitle(chart.drawMode);
    chart.greyCaption = extra.text(ExtraTexts::ProgrammedCaption);
    chart.greyNote = extra.text(ExtraTexts::GreyNote);
}
