#pragma once

#include "chartstate.h"
#include "toolpathfit.h"
#include "toolpathmodel.h"
#include "toolpathpixels.h"

#include <cstdint>

class QPaintDevice;
class ToolpathRenderer;

// Draws through `renderer` as `fit` places the path: into a 32-bit image of the fit's size
// straight from `pixels`, every `stride`-th segment, else through a painter, which draws every
// segment. False when the device cannot be painted on.
bool RenderToolpath(QPaintDevice& device, const ToolpathRenderer& renderer, const ToolpathFit& fit,
                    ToolpathPixels& pixels, std::uint32_t stride = 1);

// The path as a report shows it: the iso view fitted to width x height (each at least 1), in the
// chart's colours (or the colouring `colours`, with its colour bar) with its shown range
// emphasised, without a mark.
bool DrawReportToolpath(QPaintDevice& device, const ToolpathModel& model, const ChartState& chart,
                        const CutDataSet& data, int width, int height,
                        ToolpathColourMode colours = ToolpathColourMode::Chart);
