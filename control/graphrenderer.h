#pragma once

#include "cutdataset.h"
#include "cutgraph.h"

#include <cstdint>
#include <string>

class QImage;
class QPainter;
class ChartCanvas;
class CurvePath;

// What a render reads besides the graph state.
struct GraphInputs {
    const CutDataSet* data = nullptr;
    std::uint8_t primaryDrawMode = 0;
    std::string xTitle;
    std::string yTitle;
};

// The inputs of the control module: its data set, primary draw mode and axis titles.
GraphInputs moduleGraphInputs(const CCutGraph& graph);

// Renders the whole chart into `surface` (plotWidth x plotHeight of `graph`) and writes
// fontHeight, distMax, plotLeft and plotRight back into `graph`.
void DrawGraph(QImage& surface, CCutGraph& graph, const GraphInputs& inputs);

// The same render as vector drawing on `painter`, one unit of its coordinates per pixel of the
// chart, with the same reduced curve: lines as lines, labels as text.
void DrawGraph(QPainter& painter, CCutGraph& graph, const GraphInputs& inputs);

// The same render onto a canvas, with the curve sent through `curve`.
void DrawGraph(ChartCanvas& canvas, CCutGraph& graph, const GraphInputs& inputs, CurvePath& curve);

// The tick step for the value range a..b.
float NiceStep(float a, float b);

// A tick or maximum label: "%0.3f" with the trailing zeros removed ("20.", "2.5", "0.001").
std::string FormatAxisValue(float value);
