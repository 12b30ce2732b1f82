// The curve colour of a record: tool t in colour t & 15 with colours by tool number, else the
// colour that steps on at tool changes.
#include "toolcolours.h"

#include <gtest/gtest.h>

namespace {

TEST(ToolColours, ARecordTakesItsToolsColourOrTheStepColour) {
    struct Case {
        std::int16_t tool;
        bool byTool;
        int stepColour;
        int colour;
    };
    const Case cases[] = {
        {0, true, 5, 0},  {7, true, 2, 7},     {15, true, 0, 15}, {16, true, 3, 0},
        {33, true, 9, 1}, {-1, true, 4, 15},   {-16, true, 4, 0}, {32767, true, 0, 15},
        {7, false, 2, 2}, {16, false, 11, 11}, {0, false, 0, 0},  {-3, false, 15, 15},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CurveColourNumber(c.tool, c.byTool, c.stepColour), c.colour)
            << "tool " << c.tool << (c.byTool ? " by tool" : " by step ") << c.stepColour;
        if (c.byTool) {
            EXPECT_EQ(ToolColourNumber(c.tool), c.colour) << "tool " << c.tool;
        }
    }
}

} // namespace
