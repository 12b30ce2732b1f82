#pragma once

#include "chartcanvas.h"
#include "chartframe.h"
#include "legendplacement.h"

#include <cstdint>
#include <string>
#include <vector>

// One line of the legend: its caption and the colours it stands for.
struct LegendEntry {
    std::string caption;
    std::vector<ColorRef> colours;

    bool operator==(const LegendEntry&) const = default;
};

// The legend of a chart: one entry per tool drawn in the shown records, in the order of first
// use, with every colour the tool is drawn in ("T<n>"), after the grey entry of a compare chart.
// A binary file's start point gives its tool an entry only when another shown record has that
// tool (FirstToolRecord).
// Drawn where LegendPlacement puts it, its text in the tick labels' font.
class ChartLegend {
public:
    // Records first..end - 1 are shown.
    ChartLegend(const ChartState& chart, const CutDataSet& data, std::uint32_t first,
                std::uint32_t end);

    const std::vector<LegendEntry>& entries() const { return entries_; }
    // The rows of a legend of at most `maxRows` rows: the entries, or as many as fit with the
    // last row saying how many are left out ("+N more").
    std::vector<LegendEntry> rows(int maxRows) const;
    // The width of the widest row, swatches and caption.
    static int width(const std::vector<LegendEntry>& rows, const ChartFrame& frame);
    void draw(ChartCanvas& canvas, const ChartFrame& frame, const std::vector<LegendEntry>& rows,
              const LegendBox& box) const;

private:
    void addTools(const ChartState& chart, const CutDataSet& data, std::uint32_t first,
                  std::uint32_t end);
    void addToolsByStep(const ChartState& chart, const CutDataSet& data, std::uint32_t first,
                        std::uint32_t end);
    void use(std::int16_t tool, ColorRef colour);
    void joinStart(const ChartState& chart, const CutDataSet& data);

    std::vector<LegendEntry> entries_;
    std::vector<std::int16_t> tools_; // the tool of each entry from toolsFrom_ on, as gathered
    std::size_t toolsFrom_ = 0;
    ColorRef axisColour_ = 0;
    ColorRef backColour_ = 0;
};
