#include "toolpathtesting.h"

#include <gtest/gtest.h>

namespace {

struct ModelCase {
    const char* name;
    std::string text;
    std::uint32_t nonFinite;
    std::uint32_t zeroLength;
    std::uint32_t unknownStart;
    PathPoint low;
    PathPoint high;
};

class ToolpathModelCases : public ::testing::TestWithParam<ModelCase> {};

// What is left out and the box, for paths with the odd cases.
TEST_P(ToolpathModelCases, countsWhatIsLeftOutAndBoxesTheRest) {
    const ModelCase& c = GetParam();
    const CutDataSet data = loadText(c.text);
    const ToolpathModel model(data);
    EXPECT_EQ(model.nonFinite(), c.nonFinite);
    EXPECT_EQ(model.zeroLength(), c.zeroLength);
    EXPECT_EQ(model.unknownStart(), c.unknownStart);
    ASSERT_FALSE(model.box().empty);
    EXPECT_EQ(model.box().low.x, c.low.x);
    EXPECT_EQ(model.box().low.y, c.low.y);
    EXPECT_EQ(model.box().low.z, c.low.z);
    EXPECT_EQ(model.box().high.x, c.high.x);
    EXPECT_EQ(model.box().high.y, c.high.y);
    EXPECT_EQ(model.box().high.z, c.high.z);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ToolpathModelCases,
    ::testing::Values(
        ModelCase{"rectangles", rectanglesText(), 0, 0, 0, {0, 0, 0}, {90, 20, 0}},
        // The first block starts at the origin, which the box takes in.
        ModelCase{"single", "N1)G01X3Y4Z5\n", 0, 0, 0, {0, 0, 0}, {3, 4, 5}},
        ModelCase{
            "allEqual", "N1)G01X0Y0Z0\nN2)G01X0Y0Z0\nN3)G01\n", 0, 2, 0, {0, 0, 0}, {0, 0, 0}},
        ModelCase{"nan",
                  "N1)G01X1Y1Z1\nN2)G01XnanY2\nN3)G01X3Y3\nN4)G01X4\n",
                  2,
                  0,
                  0,
                  {0, 0, 0},
                  {4, 3, 1}},
        // A preset to the origin: the next block starts there.
        ModelCase{"presetOrigin",
                  "N1)G01X10Y0Z0\nG92X0Y0Z0\nN2)G01X5Y5Z0\n",
                  0,
                  0,
                  0,
                  {0, 0, 0},
                  {10, 5, 0}},
        // A preset elsewhere: where the block starts is not kept.
        ModelCase{"presetElsewhere",
                  "N1)G01X10Y0Z0\nG92X2Y0Z0\nN2)G01X5Y5Z0\n",
                  0,
                  0,
                  1,
                  {0, 0, 0},
                  {10, 5, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ToolpathModel, segmentStartsAtThePresetTheOriginOrThePreviousRecord) {
    const CutDataSet data = loadText("N1)G01X10Y0Z0\nN2)G01X10Y7\nG92X0Y0Z0\nN3)G01X5Y5Z1\n");
    const ToolpathModel model(data);
    const auto first = model.startOf(0);
    const auto second = model.startOf(1);
    const auto third = model.startOf(2);
    ASSERT_TRUE(first && second && third);
    EXPECT_EQ(first->x, 0.0f);
    EXPECT_EQ(second->x, 10.0f);
    EXPECT_EQ(second->y, 0.0f);
    EXPECT_EQ(third->x, 0.0f);
    EXPECT_EQ(third->y, 0.0f);
    EXPECT_TRUE(model.drawn(2));
}

// The binary file's first record is its start point: the next segment starts there.
TEST(ToolpathModel, binaryPathStartsAtTheHeadersPoint) {
    BinaryBytes bytes;
    bytes.header(10.0f, 10.0f, 0.0f).u16(0x0008).f32(20.0f);
    const CutDataSet data = loadBinary(bytes.bytes());
    ASSERT_EQ(data.count, 2u);
    const ToolpathModel model(data);
    EXPECT_FALSE(model.drawn(0));
    EXPECT_TRUE(model.drawn(1));
    EXPECT_EQ(model.startOf(1)->x, 10.0f);
    EXPECT_EQ(model.leftOut(), 0u);
    EXPECT_EQ(model.box().low.x, 10.0f);
    EXPECT_EQ(model.box().high.x, 20.0f);
}

TEST(ToolpathModel, noRecordsGiveAnEmptyModel) {
    const CutDataSet data;
    const ToolpathModel model(data);
    EXPECT_TRUE(model.box().empty);
    EXPECT_EQ(model.leftOut(), 0u);
}

} // namespace
