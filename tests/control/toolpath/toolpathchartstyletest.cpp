#include "toolpathchartstyle.h"
#include "toolpathtesting.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct RangeCase {
    const char* name;
    std::int32_t distanceMode;
    float lower, upper;
};

class ToolpathShownRangeCases : public ::testing::TestWithParam<RangeCase> {};

// Ten blocks N1..N10, each 10 mm along X from the origin: record i ends at distance 10 (i + 1)
// and is block i + 1. The chart shows the records whose horizontal value lies in its window, the
// percentages of the last record's value; the path emphasises those and fades the others.
TEST_P(ToolpathShownRangeCases, emphasisedRecordsAreThoseTheChartShows) {
    const RangeCase& c = GetParam();
    std::string text;
    for (int k = 1; k <= 10; ++k)
        text += "N" + std::to_string(k) + ")G01X" + std::to_string(10 * k) + "Y0Z0\n";
    const CutDataSet data = loadText(text);
    ASSERT_EQ(data.count, 10u);
    ChartState chart;
    chart.distanceMode = c.distanceMode;
    chart.shown = {c.lower, c.upper};
    const ToolpathStyle style = ToolpathStyleOf(chart, data, ToolpathColourMode::Chart);
    const ToolpathModel model(data);
    const ToolpathFit fit(model.box(), ToolpathView(ToolpathViewKind::Top), 300, 100);
    ToolpathPixels pixels;
    pixels.project(model, fit, style);
    const std::uint32_t colour = PixelOfColorRef(chart.colours[0]);
    const double unit = c.distanceMode == 2 ? 1.0 : 10.0;
    for (std::uint32_t i = 0; i < data.count; ++i) {
        const double value = unit * (i + 1);
        const bool shown = value >= 10 * unit * c.lower / 100 && value <= 10 * unit * c.upper / 100;
        EXPECT_EQ(pixels.colours()[i], shown ? colour : Faded(colour)) << "record " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Windows, ToolpathShownRangeCases,
    ::testing::Values(RangeCase{"middle", 0, 25, 75}, RangeCase{"upperEndOnly", 0, 0, 45},
                      RangeCase{"lowerEndOnly", 0, 55, 100}, RangeCase{"whole", 0, 0, 100},
                      RangeCase{"cutDistance", 1, 33, 68}, RangeCase{"blocksMiddle", 2, 25, 75},
                      RangeCase{"blocksUpperEndOnly", 2, 0, 45}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
