#include "rangeselection.h"

#include <gtest/gtest.h>

namespace {

struct DragCase {
    float lower;
    float upper;
    int fromX;
    int toX;
    float expectedLower;
    float expectedUpper;
};

} // namespace

TEST(RangeSelection, DragEndsMapToPercentsOfTheWholeRange) {
    const DragCase cases[] = {
        {0.0f, 100.0f, 275, 50, 0.0f, 25.0f},   // right to left, the end on plotLeft
        {20.0f, 40.0f, 500, 725, 30.0f, 35.0f}, // inside a zoomed window
        {20.0f, 40.0f, 725, 500, 30.0f, 35.0f}, // the same drag backwards
        {20.0f, 40.0f, 10, 2000, 20.0f, 40.0f}, // ends outside the chart clamp to the window
        {0.0f, 100.0f, 500, 500, 50.0f, 50.0f}, // a vertical drag selects a single point
    };
    for (const DragCase& c : cases) {
        ChartState chart;
        ChartDrawn drawn;
        drawn.plotLeft = 50;
        drawn.plotRight = 950;
        chart.shown.lower = c.lower;
        chart.shown.upper = c.upper;
        ApplySelectedWindow(chart, PercentAtX(chart, drawn, true, c.fromX),
                            PercentAtX(chart, drawn, true, c.toX));
        EXPECT_FLOAT_EQ(chart.shown.lower, c.expectedLower) << c.fromX << " to " << c.toX;
        EXPECT_FLOAT_EQ(chart.shown.upper, c.expectedUpper) << c.fromX << " to " << c.toX;
    }
}

TEST(RangeSelection, NoDataGivesMinusOneWhichIsOutOfRange) {
    ChartDrawn drawn;
    drawn.plotLeft = 50;
    drawn.plotRight = 950;
    EXPECT_EQ(PercentAtX(ChartState{}, drawn, false, 500), -1.0f);
    EXPECT_FALSE(IsPercentInRange(-1.0f));
    EXPECT_TRUE(IsPercentInRange(0.0f));
    EXPECT_TRUE(IsPercentInRange(100.0f));
    EXPECT_FALSE(IsPercentInRange(100.001f));
}
