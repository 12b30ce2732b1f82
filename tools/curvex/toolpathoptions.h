#pragma once

#include "chartstate.h"
#include "commandarguments.h"
#include "commandoutput.h"
#include "toolpathcolouring.h"
#include "toolpathview.h"

#include <vector>

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

// Reads the options in `args`, taking the two numbers of --range and of `pairOption` (when not
// null) out first; the rest go to `arguments`, `pair` gets the pair option's numbers. Prints what
// is wrong and returns false on wrong usage.
bool readToolpathSettings(CommandArguments args, const char* pairOption, std::vector<double>& pair,
                          CommandArgumentList& arguments, ToolpathSettings& settings);
