#include "toolpathchartstyle.h"

#include "chartframe.h"
#include "shownrecords.h"

ToolpathStyle ToolpathStyleOf(const ChartState& chart, const CutDataSet& data,
                              ToolpathColourMode mode) {
    ToolpathStyle style;
    style.mode = mode;
    style.curveColours = chart.colours;
    style.g00Feed = chart.g00Feed;
    style.colourByTool = chart.colourByTool;
    style.emphasised = ShownRecords(data, HorizontalOf(chart), chart.shown);
    return style;
}
