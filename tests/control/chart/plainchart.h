#pragma once

#include "chartframe.h"
#include "curvepath.h"
#include "cutbuilder.h"
#include "cutdataset.h"

#include <cstdint>
#include <vector>

// The pieces of a chart worked out from the rules alone, record by record, for the tests that
// compare the renderer's drawing with a plain one.

// A block of a chart test's data: its step along X, removal, tool and feeds.
struct ChartBlock {
    float step = 1.0f;
    float removal = 1.0f;
    std::int16_t tool = 1;
    std::int32_t orgFeed = 600;
    std::int32_t optFeed = 600;
    bool rapid = false;
};

// The data of the blocks, numbered 10, 20, ...
inline CutDataSet BuildChartData(const std::vector<ChartBlock>& blocks) {
    CutBuilder builder(blocks.size());
    std::int32_t number = 0;
    for (const ChartBlock& block : blocks) {
        CutRecord record;
        record.toolNo = block.tool;
        record.blockNo = number += 10;
        record.motionCode = block.rapid ? 0 : 1;
        record.orgFeed = block.orgFeed;
        record.optFeed = block.optFeed;
        record.removal = block.removal;
        builder.add(record, block.step, 0.0f, 0.0f);
    }
    return builder.take();
}

// The curve colour numbers of the records: a step at every tool change that does not leave tool
// 0, or the tool's low four bits.
inline std::vector<int> plainColours(const CutDataSet& data, bool byTool) {
    std::vector<int> colours(data.count);
    int step = 0;
    for (std::uint32_t i = 0; i < data.count; ++i) {
        const std::int16_t tool = data.records[i].toolNo;
        if (i > 0 && tool != data.records[i - 1].toolNo && data.records[i - 1].toolNo != 0)
            step = (step + 1) % 16;
        colours[i] = byTool ? (tool & 15) : step;
    }
    return colours;
}

inline float horizontal(const CutDataSet& data, std::uint32_t i, int distanceMode) {
    return distanceMode == 0   ? data.totalDistance[i]
           : distanceMode == 1 ? data.cutDistance[i]
                               : static_cast<float>(data.blockNos[i]);
}

// The records a walk from the first one finds in the frame's horizontal range.
struct Shown {
    std::uint32_t first = 0;
    std::uint32_t end = 0;
};

inline Shown shownRecords(const CutDataSet& data, const ChartFrame& frame, int distanceMode) {
    Shown shown;
    while (shown.first + 1 < data.count && horizontal(data, shown.first, distanceMode) < frame.xLo)
        ++shown.first;
    shown.end = shown.first;
    while (shown.end < data.count && !(horizontal(data, shown.end, distanceMode) > frame.xHi))
        ++shown.end;
    return shown;
}

// The frame of the chart's plot size and shown range, before its vertical scale.
inline ChartFrame plainFrame(const ChartState& chart, const CutDataSet& data) {
    ChartFrame frame = LayoutFrame(chart.width, chart.height);
    ApplyShownRange(frame, chart.distanceMode, chart.shown, data,
                    data.totalDistance[data.count - 1]);
    return frame;
}

// Ignores the renderer's curve and draws a plain one in its place, once, where the renderer
// finishes its curve: before the axes.
class PlainCurvePath : public CurvePath {
public:
    void selectPen(ColorRef) override {}
    void moveTo(int, int) override {}
    void lineTo(int, int) override {}
    void finish() override {
        if (!drawn_)
            draw();
        drawn_ = true;
    }

protected:
    virtual void draw() = 0;

private:
    bool drawn_ = false;
};
