#include "columnpath.h"
#include "graphrenderer.h"
#include "graphtestsupport.h"

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

// The chart's own render (DrawGraph into an image) takes whole pixel columns from the data set's
// index; the render through a caller's column path visits every record and is the reference.

namespace {

struct View {
    int width = 1000;
    int height = 600;
    int distanceMode = 0;
    int drawMode = 0;
    float lower = 0.0f;
    float upper = 100.0f;
    float g00Feed = 5000.0f;
    CompareMode compare = CompareMode::None;
    bool byTool = false;
};

std::string describe(const View& view) {
    std::ostringstream text;
    text << view.width << "x" << view.height << ", distance mode " << view.distanceMode
         << ", draw mode " << view.drawMode << ", window " << view.lower << ".." << view.upper
         << ", G00 feed " << view.g00Feed << ", compare " << static_cast<int>(view.compare)
         << (view.byTool ? ", by tool" : "");
    return text.str();
}

ChartState chartOf(const View& view) {
    ChartState chart;
    chart.width = view.width;
    chart.height = view.height;
    chart.distanceMode = view.distanceMode;
    chart.drawMode = static_cast<std::uint8_t>(view.drawMode);
    chart.shown.lower = view.lower;
    chart.shown.upper = view.upper;
    chart.g00Feed = view.g00Feed;
    chart.compareMode = view.compare;
    chart.colourByTool = view.byTool;
    chart.xTitle = std::string("X");
    chart.yTitle = std::string("Y");
    return chart;
}

void expectSameAsReference(const CutDataSet& data, const View& view, const std::string& name) {
    ASSERT_TRUE(data.index.covers(data)) << name;
    const ChartState chart = chartOf(view);
    QImage indexed = blankImage(view.width, view.height);
    DrawGraph(indexed, chart, &data);
    QImage reference = blankImage(view.width, view.height);
    {
        GdiCanvas canvas(reference);
        ColumnPath path(canvas);
        DrawGraph(canvas, chart, &data, path);
    }
    ASSERT_EQ(indexed, reference) << name << ", " << describe(view) << ": "
                                  << firstDifference(indexed, reference);
}

// Rising block numbers that now and then start again lower down, as programs with sub-programs
// number their blocks; NaN removal here and there; a tool per machined section.
std::vector<TestBlock> risingBlocks(unsigned seed, int count) {
    SynthOptions options;
    options.blockNumbersRestart = true;
    options.nanRemoval = 5;
    return synthesizedBlocks(seed, count, options);
}

// Long runs of one tool and many blocks per pixel column.
std::vector<TestBlock> denseBlocks(unsigned seed, int count) {
    std::vector<TestBlock> blocks = risingBlocks(seed, count);
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        blocks[i].step *= 0.01f;
        blocks[i].tool = static_cast<std::int16_t>(1 + i / 7000 % 3);
    }
    return blocks;
}

// The distances become infinite and then NaN at the end.
std::vector<TestBlock> endlessBlocks(unsigned seed, int count) {
    std::vector<TestBlock> blocks = risingBlocks(seed, count);
    blocks[blocks.size() * 3 / 4].step = std::numeric_limits<float>::infinity();
    blocks[blocks.size() * 7 / 8].step = std::numeric_limits<float>::quiet_NaN();
    return blocks;
}

struct DataCase {
    const char* name;
    CutDataSet data;
};

std::vector<DataCase> dataCases() {
    std::vector<DataCase> cases;
    cases.push_back({"random blocks", synthesizedData(1, 20000)});
    cases.push_back({"rising block numbers", makeData(risingBlocks(2, 30000))});
    cases.push_back({"dense columns", makeData(denseBlocks(3, 60000))});
    cases.push_back({"endless distances", makeData(endlessBlocks(4, 20000))});
    cases.push_back({"one block", synthesizedData(5, 1)});
    cases.push_back({"17 blocks", makeData(risingBlocks(6, 17))});
    cases.push_back({"257 blocks", synthesizedData(7, 257)});
    return cases;
}

TEST(IndexedCurve, DrawsEveryAxisAndQuantityAsTheReference) {
    ensureGuiApplication();
    const std::vector<DataCase> cases = dataCases();
    for (const DataCase& c : cases)
        for (int distanceMode = 0; distanceMode <= 2; ++distanceMode)
            for (int drawMode = 0; drawMode <= 3; ++drawMode)
                for (const float g00Feed : {5000.0f, 0.0f, -700.0f}) {
                    View view;
                    view.distanceMode = distanceMode;
                    view.drawMode = drawMode;
                    view.g00Feed = g00Feed;
                    expectSameAsReference(c.data, view, c.name);
                    view.lower = 30.0f;
                    view.upper = 31.5f;
                    expectSameAsReference(c.data, view, c.name);
                }
}

// Random windows at both ends and anywhere, windows of no width, and odd plot sizes down to a
// chart whose scales turn negative.
TEST(IndexedCurve, DrawsRandomWindowsAndSizesAsTheReference) {
    ensureGuiApplication();
    const std::vector<DataCase> cases = dataCases();
    std::mt19937 random(17);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::uniform_int_distribution<int> mode(0, 2);
    const int sizes[][2] = {{1000, 600}, {317, 211}, {40, 30}, {7, 5}, {1, 600}};
    for (const DataCase& c : cases)
        for (int round = 0; round < 60; ++round) {
            View view;
            view.distanceMode = mode(random);
            view.drawMode = mode(random);
            const float width = unit(random);
            switch (round % 5) {
            case 0:
                view.lower = unit(random) * (1.0f - width);
                break;
            case 1:
                view.lower = 99.0f + unit(random) * (1.0f - width);
                break;
            case 2:
                view.lower = unit(random) * 100.0f;
                break;
            case 3:
                view.lower = unit(random) * 100.0f;
                view.upper = view.lower;
                break;
            default:
                view.lower = unit(random) * 60.0f;
                break;
            }
            if (round % 5 != 3)
                view.upper =
                    round % 5 == 4 ? view.lower + unit(random) * 40.0f : view.lower + width;
            const int* size = sizes[round % 5 == 4 ? (round / 5) % 5 : 0];
            view.width = size[0];
            view.height = size[1];
            expectSameAsReference(c.data, view, c.name);
        }
}

// The feeds break at G00 records. G00 stretches fall many to a pixel column, between cutting
// stretches of a block or a few, or span several columns; the feeds of a cutting stretch stay or
// vary; tools change at G00 blocks and at cuts, to tool 0 and back; some distances are infinite
// or NaN; block numbers start again lower down. Long cutting stretches lie whole in a column,
// ending at their extremes or not, and are drawn from the index's list of them.
std::vector<DataCase> brokenCases() {
    std::vector<DataCase> cases;
    cases.push_back({"short stretches, many to a column",
                     makeData(brokenFeedBlocks(21, 40000, {1, 2, 3, 5}, 0.01f))});
    cases.push_back({"long G00 stretches across columns",
                     makeData(brokenFeedBlocks(22, 20000, {20, 300, 1500}, 0.5f))});
    cases.push_back({"stretches of every length",
                     makeData(brokenFeedBlocks(23, 30000, {1, 2, 40, 700, 5000}, 0.05f))});
    std::vector<TestBlock> endless = brokenFeedBlocks(24, 20000, {1, 3, 60}, 0.05f);
    endless[endless.size() * 3 / 4].step = std::numeric_limits<float>::infinity();
    endless[endless.size() * 7 / 8].step = std::numeric_limits<float>::quiet_NaN();
    cases.push_back({"endless distances", makeData(endless)});
    std::vector<TestBlock> one = brokenFeedBlocks(25, 1, {1}, 1.0f);
    one[0].motionCode = 1;
    cases.push_back({"one cut", makeData(one)});
    one[0].motionCode = 0;
    cases.push_back({"one G00 block", makeData(one)});
    cases.push_back({"two blocks", makeData(brokenFeedBlocks(26, 2, {1}, 1.0f))});
    cases.push_back({"random blocks", synthesizedData(27, 20000)});
    cases.push_back({"machining stretches, many to a column",
                     makeData(machiningStretchBlocks(28, 200000, 0.01f))});
    return cases;
}

TEST(IndexedCurve, DrawsFeedsBrokenAtG00BlocksAsTheReference) {
    ensureGuiApplication();
    const std::vector<DataCase> cases = brokenCases();
    const float windows[][2] = {{0.0f, 100.0f}, {30.0f, 31.5f}, {49.9f, 50.0f}, {97.0f, 100.0f}};
    for (const DataCase& c : cases)
        for (int distanceMode = 0; distanceMode <= 2; ++distanceMode)
            for (const bool byTool : {false, true})
                for (const auto& window : windows) {
                    View view;
                    view.compare = CompareMode::Feeds;
                    view.distanceMode = distanceMode;
                    view.byTool = byTool;
                    view.lower = window[0];
                    view.upper = window[1];
                    expectSameAsReference(c.data, view, c.name);
                    view.width = 37;
                    view.height = 211;
                    expectSameAsReference(c.data, view, c.name);
                }
}

// The rates and the plain curves on the same data, and random windows of the feeds.
TEST(IndexedCurve, DrawsEveryCurveOfDataWithG00StretchesAsTheReference) {
    ensureGuiApplication();
    const std::vector<DataCase> cases = brokenCases();
    std::mt19937 random(31);
    std::uniform_real_distribution<float> unit(0.0f, 100.0f);
    for (const DataCase& c : cases) {
        for (const CompareMode compare : {CompareMode::None, CompareMode::Rates})
            for (const bool byTool : {false, true}) {
                View view;
                view.compare = compare;
                view.drawMode = 1;
                view.byTool = byTool;
                expectSameAsReference(c.data, view, c.name);
            }
        for (int round = 0; round < 20; ++round) {
            View view;
            view.compare = CompareMode::Feeds;
            view.distanceMode = round % 3;
            view.lower = unit(random);
            view.upper = std::min(100.0f, view.lower + unit(random) * 0.2f);
            expectSameAsReference(c.data, view, c.name);
        }
    }
}

// Colours by tool number: the pen changes at every tool change, the colour steps and the changes
// away from tool 0 between them; tool 0 for long stretches, tools that come back, a tool per
// block, negative tools.
TEST(IndexedCurve, ColoursByToolAsTheReference) {
    ensureGuiApplication();
    std::vector<DataCase> cases = dataCases();
    std::vector<TestBlock> blocks = risingBlocks(41, 30000);
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const std::size_t stretch = i / 1500 % 4;
        blocks[i].tool = stretch == 0   ? 0
                         : stretch == 3 ? static_cast<std::int16_t>(i % 7 == 0 ? 0 : -(i % 5))
                                        : static_cast<std::int16_t>(stretch * 9 + i / 6000);
    }
    cases.push_back({"tool 0 stretches and tools that come back", makeData(blocks)});
    for (const DataCase& c : cases)
        for (int distanceMode = 0; distanceMode <= 2; ++distanceMode)
            for (const CompareMode compare :
                 {CompareMode::None, CompareMode::Rates, CompareMode::Feeds}) {
                View view;
                view.distanceMode = distanceMode;
                view.compare = compare;
                view.byTool = true;
                expectSameAsReference(c.data, view, c.name);
                view.lower = 30.0f;
                view.upper = 31.5f;
                expectSameAsReference(c.data, view, c.name);
            }
}

} // namespace
