#include "toolpathtesting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

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
        // A preset elsewhere: the next block starts there too, and the box takes it in.
        ModelCase{"presetElsewhere",
                  "N1)G01X10Y0Z0\nG92X2Y-1Z0\nN2)G01X5Y5Z0\n",
                  0,
                  0,
                  0,
                  {0, -1, 0},
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

struct ExpectedStart {
    std::uint32_t record;
    PathPoint start;
};

struct PresetCase {
    const char* name;
    std::string text;
    std::vector<ExpectedStart> starts;
};

// Blocks with a preset of some axes before every other one, so that the cuts between the parts of
// a parallel load fall before and after presets: the start of every block as the lines give it.
PresetCase presetsEverywhere() {
    PresetCase c{"presetsAtPartBoundaries", "", {}};
    PathPoint at;
    for (std::uint32_t block = 0; block < 3000; ++block) {
        const float x = static_cast<float>(block % 97) * 0.5f;
        const float y = static_cast<float>(block % 89) * 0.25f;
        if (block % 2 == 0) {
            const float preset = static_cast<float>(block % 41) + 100.0f;
            const std::string value = std::to_string(preset);
            // X alone, Y alone, Z alone, or all three.
            switch (block / 2 % 4) {
            case 0:
                c.text += "G92X" + value + "\n";
                at.x = preset;
                break;
            case 1:
                c.text += "G92Y" + value + "\n";
                at.y = preset;
                break;
            case 2:
                c.text += "G92Z" + value + "\n";
                at.z = preset;
                break;
            default:
                c.text += "G92X" + value + "Y" + value + "Z" + value + "\n";
                at = {preset, preset, preset};
            }
        }
        c.starts.push_back({block, at});
        c.text += "N" + std::to_string(block + 1) + ")G01X" + std::to_string(x) + "Y" +
                  std::to_string(y) + "\n";
        at.x = x;
        at.y = y;
    }
    return c;
}

class ToolpathPresetCases : public ::testing::TestWithParam<PresetCase> {};

// A segment after a preset starts at the preset, on one thread or many.
TEST_P(ToolpathPresetCases, segmentAfterAPresetStartsThere) {
    const PresetCase& c = GetParam();
    for (const unsigned threads : {1u, 2u, 3u, 5u, 9u}) {
        CutDataSet data;
        ASSERT_TRUE(parseText(c.text, data, threads).ok());
        const ToolpathModel model(data);
        EXPECT_EQ(model.unknownStart(), 0u) << threads << " threads";
        for (const ExpectedStart& expected : c.starts) {
            const auto start = model.startOf(expected.record);
            ASSERT_TRUE(start) << "record " << expected.record << ", " << threads << " threads";
            EXPECT_EQ(std::tuple(start->x, start->y, start->z),
                      std::tuple(expected.start.x, expected.start.y, expected.start.z))
                << "record " << expected.record << ", " << threads << " threads";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Presets, ToolpathPresetCases,
    ::testing::Values(
        PresetCase{"beforeTheFirstBlock",
                   "G92X1Y2Z3\nN1)G01X4Y2Z3\nN2)G01Y6\n",
                   {{0, {1, 2, 3}}, {1, {4, 2, 3}}}},
        PresetCase{"elsewhereInTheMiddle",
                   "N1)G01X10Y0Z0\nG92X2Y1Z-1\nN2)G01X5Y5Z0\nN3)G01X6\n",
                   {{1, {2, 1, -1}}, {2, {5, 5, 0}}}},
        PresetCase{"someAxes", "N1)G01X10Y7Z3\nG92X2\nN2)G01X5Y5Z0\n", {{1, {2, 7, 3}}}},
        PresetCase{"twoInARow", "N1)G01X10Y7Z3\nG92X2Y4\nG92Y1Z9\nN2)G01X5\n", {{1, {2, 1, 9}}}},
        PresetCase{"afterTheLastBlockChangesNothing",
                   "N1)G01X10Y7Z3\nN2)G01X5\nG92X1Y1Z1\n",
                   {{0, {0, 0, 0}}, {1, {10, 7, 3}}}},
        presetsEverywhere()),
    [](const auto& info) { return std::string(info.param.name); });

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

// A move the loader noted that is not the step from the origin (a record whose distance is not the
// step from the one before) leaves its segment's start unknown: the segment is left out and
// counted, and the box does not take in the origin or any other point for it.
TEST(ToolpathModel, segmentWithAnUnknownStartIsLeftOutAndNotBoxed) {
    const std::string preset = "G92X10Y10Z2\nN1)G01X20Y10Z2\nN2)G01X20Y20Z3\nN3)G01X10Y20\n";
    const struct {
        const char* name;
        std::string text;
        std::uint32_t record; // whose move is noted
        std::uint32_t drawn;  // segments drawn
    } cases[] = {
        {"middle", preset, 1, 2},
        {"last", preset, 2, 2},
        // The first record's own start is not known: nothing before it is boxed.
        {"first", "N1)G01X10Y10Z2\nN2)G01X20Y10Z2\nN3)G01X20Y20Z3\nN4)G01X10Y20\n", 0, 3},
    };
    const PathPoint low{10, 10, 2}, high{20, 20, 3};
    for (const auto& c : cases) {
        CutDataSet data = loadText(c.text);
        auto& noted = data.moves.exceptions;
        noted.erase(std::remove_if(noted.begin(), noted.end(),
                                   [&](const StepException& e) { return e.record == c.record; }),
                    noted.end());
        noted.push_back({c.record, 99.0f});
        std::sort(noted.begin(), noted.end(), [](const StepException& a, const StepException& b) {
            return a.record < b.record;
        });
        const ToolpathModel model(data);
        EXPECT_EQ(model.unknownStart(), 1u) << c.name;
        EXPECT_EQ(model.leftOut(), 1u) << c.name;
        EXPECT_FALSE(model.startOf(c.record)) << c.name;
        std::uint32_t drawn = 0;
        for (std::uint32_t i = 0; i < data.count; ++i)
            drawn += model.drawn(i);
        EXPECT_EQ(drawn, c.drawn) << c.name;
        EXPECT_EQ(std::tuple(model.box().low.x, model.box().low.y, model.box().low.z),
                  std::tuple(low.x, low.y, low.z))
            << c.name;
        EXPECT_EQ(std::tuple(model.box().high.x, model.box().high.y, model.box().high.z),
                  std::tuple(high.x, high.y, high.z))
            << c.name;
        if (c.record == 0)
            continue;
        // Not drawn either: the middle of the step from the record before stays white.
        const PathPoint from = pointOf(data.records[c.record - 1]);
        const PathPoint to = pointOf(data.records[c.record]);
        const ToolpathFit fit(model.box(), ToolpathView(ToolpathViewKind::Top), 200, 200);
        const double x = (from.x + to.x) / 2.0, y = (from.y + to.y) / 2.0,
                     z = (from.z + to.z) / 2.0;
        EXPECT_EQ(ToolpathPicture(model, fit, chartStyle())
                      .at(static_cast<int>(std::floor(fit.px(x, y, z))),
                          static_cast<int>(std::floor(fit.py(x, y, z)))),
                  kBackColour)
            << c.name;
    }
}

} // namespace
