#include "chartlegend.h"

#include "machiningtime.h"
#include "toolcolours.h"

#include <algorithm>

ChartLegend::ChartLegend(const ChartState& chart, const CutDataSet& data, std::uint32_t first,
                         std::uint32_t end)
    : axisColour_(chart.axisColour), backColour_(chart.backColour) {
    if (ComparesInGrey(chart.compareMode))
        entries_.push_back({chart.greyCaption, {kCompareGrey}});
    toolsFrom_ = entries_.size();
    const std::uint32_t from = FirstToolRecord(data, first);
    if (from < end && data.index.covers(data))
        addToolsByStep(chart, data, from, end);
    else if (from < end)
        addTools(chart, data, from, end);
    if (from != first && first < end)
        joinStart(chart, data);
}

// The start point is the first use of its tool when another shown record has that tool: its entry
// comes first, the start's colour (the first curve colour) first among its colours.
void ChartLegend::joinStart(const ChartState& chart, const CutDataSet& data) {
    const std::int16_t tool = data.records[0].toolNo;
    const auto known = std::find(tools_.begin(), tools_.end(), tool);
    if (known == tools_.end())
        return;
    const auto entry =
        entries_.begin() + static_cast<std::ptrdiff_t>(toolsFrom_) + (known - tools_.begin());
    std::rotate(entries_.begin() + static_cast<std::ptrdiff_t>(toolsFrom_), entry, entry + 1);
    const ColorRef colour =
        chart.colours[static_cast<std::size_t>(CurveColourNumber(tool, chart.colourByTool, 0))];
    std::vector<ColorRef>& colours = entries_[toolsFrom_].colours;
    std::erase(colours, colour);
    colours.insert(colours.begin(), colour);
}

// Between two colour steps of the drawing index the tool changes only away from tool 0, so a
// stretch holds its first record's tool and, when that is tool 0, the first other tool after it:
// only the records of tool 0 are looked at one by one.
void ChartLegend::addToolsByStep(const ChartState& chart, const CutDataSet& data,
                                 std::uint32_t first, std::uint32_t end) {
    const CutRecord* records = data.records.data();
    const std::vector<std::uint32_t>& steps = data.index.colourSteps();
    auto step = std::upper_bound(steps.begin(), steps.end(), first);
    const auto colourOf = [&](std::int16_t tool) {
        const auto stepColour = static_cast<int>((step - steps.begin()) % kCurveColours);
        return chart.colours[static_cast<std::size_t>(
            CurveColourNumber(tool, chart.colourByTool, stepColour))];
    };
    for (std::uint32_t i = first; i < end;) {
        const bool last = step == steps.end() || *step >= end;
        const std::uint32_t stretchEnd = last ? end : *step;
        use(records[i].toolNo, colourOf(records[i].toolNo));
        while (i < stretchEnd && records[i].toolNo == 0)
            ++i;
        if (i < stretchEnd)
            use(records[i].toolNo, colourOf(records[i].toolNo));
        i = stretchEnd;
        if (!last)
            ++step;
    }
}

// A record takes its colour when its tool differs from the one before, so the records are looked
// at only where the tool changes.
void ChartLegend::addTools(const ChartState& chart, const CutDataSet& data, std::uint32_t first,
                           std::uint32_t end) {
    const CutRecord* records = data.records.data();
    ToolColours tools{records[0].toolNo, 0};
    tools.skip(records, first);
    tools.enter(records[first].toolNo);
    const auto colourOf = [&] {
        return chart.colours[static_cast<std::size_t>(
            CurveColourNumber(tools.tool, chart.colourByTool, tools.colour))];
    };
    use(tools.tool, colourOf());
    for (std::uint32_t i = first + 1; i < end; ++i) {
        if (records[i].toolNo == tools.tool)
            continue;
        tools.enter(records[i].toolNo);
        use(tools.tool, colourOf());
    }
}

void ChartLegend::use(std::int16_t tool, ColorRef colour) {
    const auto known = std::find(tools_.begin(), tools_.end(), tool);
    if (known == tools_.end()) {
        tools_.push_back(tool);
        std::string label = std::to_string(tool);
        label.insert(label.begin(), 'T');
        entries_.push_back({std::move(label), {colour}});
        return;
    }
    std::vector<ColorRef>& colours =
        entries_[toolsFrom_ + static_cast<std::size_t>(known - tools_.begin())].colours;
    if (std::find(colours.begin(), colours.end(), colour) == colours.end())
        colours.push_back(colour);
}

std::vector<LegendEntry> ChartLegend::rows(int maxRows) const {
    const auto count = static_cast<std::size_t>(std::max(maxRows, 0));
    if (entries_.size() <= count)
        return entries_;
    if (count == 0)
        return {};
    std::vector<LegendEntry> shown(entries_.begin(),
                                   entries_.begin() + static_cast<std::ptrdiff_t>(count - 1));
    shown.push_back({"+" + std::to_string(entries_.size() - shown.size()) + " more", {}});
    return shown;
}

int ChartLegend::width(const std::vector<LegendEntry>& rows, const ChartFrame& frame) {
    const int swatch = std::max(frame.fh, 4);
    int width = 0;
    for (const LegendEntry& entry : rows)
        width = std::max(width, static_cast<int>(entry.colours.size()) * swatch +
                                    LegendPlacement::pad(frame) +
                                    static_cast<int>(entry.caption.size()) * frame.cw);
    return width;
}

void ChartLegend::draw(ChartCanvas& canvas, const ChartFrame& frame,
                       const std::vector<LegendEntry>& rows, const LegendBox& box) const {
    if (box.rows == 0)
        return;
    const int pad = LegendPlacement::pad(frame);
    const int rowHeight = LegendPlacement::rowHeight(frame);
    const int swatch = std::max(frame.fh, 4);
    canvas.selectPen(axisColour_);
    canvas.selectBrush(backColour_);
    canvas.rectangle(box.left, box.top, box.right, box.bottom);
    canvas.selectFont(frame.fh, ChartCanvas::TextDirection::Horizontal);
    canvas.setClipRect(box.left, box.top, box.right, box.bottom);
    for (int row = 0; row < box.rows; ++row) {
        const LegendEntry& entry = rows[static_cast<std::size_t>(row)];
        const int y = box.top + pad + row * rowHeight;
        int x = box.left + pad;
        for (const ColorRef colour : entry.colours) {
            canvas.selectPen(colour);
            canvas.selectBrush(colour);
            canvas.rectangle(x, y + 2, x + swatch - 2, y + frame.fh);
            x += swatch;
        }
        canvas.textOut(x + pad, y, entry.caption);
    }
    canvas.setClipRect(0, 0, frame.width, frame.height);
}
