#pragma once

#include "curvexids.h"
#include "cutrecord.h"

#include <cstdint>

using curvex::kCurveColours;

// The curve colour number of tool `toolNo` when the colours go by tool number: t & 15.
constexpr int ToolColourNumber(std::int16_t toolNo) {
    return toolNo & 15;
}

// The curve colour number a record of tool `toolNo` is drawn in: the tool's own with colours by
// tool number, else `stepColour`, the number that moves on at the tool changes (ToolColours).
constexpr int CurveColourNumber(std::int16_t toolNo, bool byTool, int stepColour) {
    return byTool ? ToolColourNumber(toolNo) : stepColour;
}

// The curve colour number as the tool numbers of the records change: it moves on to the next of
// the curve colours at every change of tool, except a change away from tool 0.
struct ToolColours {
    std::int16_t tool = 0;
    int colour = 0;

    // Applies the tool rule for a record; true when the colour number moved on.
    bool enter(std::int16_t toolNo) {
        if (toolNo == tool)
            return false;
        const bool advance = tool != 0;
        if (advance)
            colour = (colour + 1) % kCurveColours;
        tool = toolNo;
        return advance;
    }

    // The tool rule for records that are not drawn, without a branch per record.
    void skip(const CutRecord* records, std::uint32_t count) {
        unsigned advances = 0;
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::int16_t toolNo = records[i].toolNo;
            advances += static_cast<unsigned>((toolNo != tool) & (tool != 0));
            tool = toolNo;
        }
        colour = static_cast<int>((static_cast<unsigned>(colour) + advances) % kCurveColours);
    }
};
