#pragma once

#include "chartframe.h"
#include "plottedseries.h"
#include "toolcolours.h"

#include <cstdint>

// A series drawn record by record through a curve path: a move to the first shown record, then a
// line to every record in turn. A record the series skips breaks the curve: no line goes into or
// out of it.
class SeriesCurve {
public:
    // One colour for the whole curve; the step to the next curve colour at each tool
    // change; or curve colour t & 15 for tool t.
    enum class Colouring : std::uint8_t { One, ToolSteps, ToolNumbers };

    SeriesCurve(const ChartFrame& frame, const ChartState& chart, const CutDataSet& data,
                const PlottedSeries& series, Colouring colouring, ColorRef one = kCompareGrey)
        : frame_(frame), chart_(chart), data_(data), series_(series), colouring_(colouring),
          one_(one) {}

    // Path is CurvePath or a final path class, so that its calls are direct.
    template <class Path> void draw(Path& path) const;

private:
    ColorRef pen(const ToolColours& tools) const {
        if (colouring_ == Colouring::One)
            return one_;
        return chart_.colours[static_cast<std::size_t>(
            CurveColourNumber(tools.tool, colouring_ == Colouring::ToolNumbers, tools.colour))];
    }

    const ChartFrame& frame_;
    const ChartState& chart_;
    const CutDataSet& data_;
    const PlottedSeries& series_;
    const Colouring colouring_;
    const ColorRef one_;
};

template <class Path> void SeriesCurve::draw(Path& path) const {
    const HorizontalAxis axis = HorizontalOf(chart_);
    const HorizontalArray xs(data_, axis);
    const std::uint32_t first = firstShownRecord(data_, xs, axis, frame_.xLo);
    ToolColours tools{data_.records[0].toolNo, 0};
    tools.skip(data_.records.data(), first);
    path.selectPen(pen(tools));
    bool open = !series_.skips(first);
    if (open)
        path.moveTo(frame_.pointX(xs[first]), frame_.pointY(series_.value(first)));
    for (std::uint32_t i = first; i < data_.count; ++i) {
        const float x = xs[i];
        if (x > frame_.xHi)
            break;
        const std::int16_t tool = data_.records[i].toolNo;
        if (tool != tools.tool && colouring_ != Colouring::One) {
            if (tools.enter(tool) || colouring_ == Colouring::ToolNumbers)
                path.selectPen(pen(tools));
        } else {
            tools.tool = tool;
        }
        if (series_.skips(i)) {
            open = false;
            continue;
        }
        const int px = frame_.pointX(x);
        const int py = frame_.pointY(series_.value(i));
        if (open) {
            path.lineTo(px, py);
        } else {
            path.moveTo(px, py);
            open = true;
        }
    }
    path.finish();
}
