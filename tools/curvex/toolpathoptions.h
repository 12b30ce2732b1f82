#pragma once

#include "chartstate.h"
#include "commandarguments.h"
#include "commandoutput.h"
#include "toolpathcolouring.h"
#include "toolpathview.h"

// The options of the toolpath commands: --view, --colour, --size, --range, --dist and --g00 (the
// chart's range and horizontal quantity say which records are emphasised), --detail, --frames
// and -o.
struct ToolpathSettings {
    ChartState chart = defaultToolpathChart();
    ToolpathViewKind view = ToolpathViewKind::Iso;
    ToolpathColourMode colour = ToolpathColourMode::Chart;
    // Every segment, or the draft the view draws while it is dragged (DraftStride).
    bool draft = false;
    int frames = 0;
    PictureOutput output;

    static ChartState defaultToolpathChart();
    // The path's colours for these settings and the data.
    ToolpathStyle style(const CutDataSet& data) const;
};

// Reads the options of the toolpath commands given in `arguments`. Prints what is wrong and
// returns false on wrong usage.
bool readToolpathSettings(const CommandArgumentList& arguments, ToolpathSettings& settings);

// Reads the pixel of --at PX PY. Prints what is wrong and returns false when it is missing or not
// two numbers.
bool readToolpathPixel(const CommandArgumentList& arguments, double (&at)[2]);
