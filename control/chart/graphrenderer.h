#pragma once

#include "chartstate.h"
#include "cutdataset.h"

#include <span>
#include <string>

class QImage;
class QPainter;
class ChartCanvas;
class CurvePath;

// Renders the whole chart that `chart` describes over `data` (nullptr or an empty data set: the
// axes alone) into `surface`, which is chart.width x chart.height. A null surface draws nothing
// but still gives what the render would.
ChartDrawn DrawGraph(QImage& surface, const ChartState& chart, const CutDataSet* data);

// The same render as vector drawing on `painter`, one unit of its coordinates per pixel of the
// chart, with the same reduced curve: lines as lines, labels as text.
ChartDrawn DrawGraph(QPainter& painter, const ChartState& chart, const CutDataSet* data);

// The same render onto a canvas, with the curve sent through `curve`.
ChartDrawn DrawGraph(ChartCanvas& canvas, const ChartState& chart, const CutDataSet* data,
                     CurvePath& curve);

// The tick step for the value range a..b.
float NiceStep(float a, float b);

// The tick step among `steps` (ascending) for the range a..b: the largest step of at most half
// the span, or the one below it where that would leave fewer than two ticks inside a..b.
float NiceStepOf(std::span<const float> steps, float a, float b);

// A tick or maximum label: "%0.3f" with the trailing zeros removed ("20.", "2.5", "0.001").
std::string FormatAxisValue(float value);
