#include "chartframe.h"
#include "chartlegend.h"
#include "chartmaximum.h"
#include "cutdatatesting.h"
#include "graphrenderer.h"
#include "graphtestsupport.h"
#include "labelfit.h"
#include "plainchart.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QRect>

#include <algorithm>
#include <cmath>
#include <random>
#include <sstream>
#include <string>
#include <vector>

// The compare charts, the colouring by tool number, fit height and the legend, each against a
// plain drawing written from the rules alone: every shown record's line to the canvas in turn.

namespace {

// Runs of 40 blocks per tool, tools coming back, each tool at its own pair of feeds.
std::vector<ChartBlock> constantFeedsPerTool() {
    const std::int16_t tools[] = {3, 5, 3, 0, 7, 5, 3};
    std::vector<ChartBlock> blocks;
    for (const std::int16_t tool : tools)
        for (int k = 0; k < 40; ++k) {
            ChartBlock block;
            block.tool = tool;
            block.orgFeed = 400 + 100 * tool;
            block.optFeed = 700 + 60 * tool;
            block.removal = 0.5f + 0.1f * static_cast<float>(tool) + 0.01f * static_cast<float>(k);
            blocks.push_back(block);
        }
    return blocks;
}

// The programmed feed rises, the optimised one falls; they cross half way.
std::vector<ChartBlock> crossingFeeds() {
    std::vector<ChartBlock> blocks;
    for (int k = 0; k < 3000; ++k) {
        ChartBlock block;
        block.step = 0.05f + static_cast<float>(k % 7) * 0.1f;
        block.tool = static_cast<std::int16_t>(1 + k / 500);
        block.orgFeed = 200 + k;
        block.optFeed = 3200 - k;
        block.removal = static_cast<float>(k % 50) * 0.04f;
        blocks.push_back(block);
    }
    return blocks;
}

// G00 moves here and there, some of them long, some following each other; tool 0 and negative
// tool numbers among the tools.
std::vector<ChartBlock> withRapids() {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> percent(0, 99);
    std::vector<ChartBlock> blocks;
    for (int k = 0; k < 20000; ++k) {
        ChartBlock block;
        block.rapid = percent(random) < 12;
        block.step = block.rapid ? static_cast<float>(percent(random)) * 0.3f
                                 : static_cast<float>(percent(random)) * 0.004f;
        block.tool = static_cast<std::int16_t>(k / 900 % 6 - 2);
        block.orgFeed = 300 + percent(random) * 20;
        block.optFeed = block.orgFeed + percent(random) * 10 - 500;
        block.removal = static_cast<float>(percent(random)) * 0.03f;
        blocks.push_back(block);
    }
    return blocks;
}

std::vector<ChartBlock> oneRecord() {
    ChartBlock block;
    block.orgFeed = 900;
    block.optFeed = 1200;
    return {block};
}

struct DataCase {
    const char* name;
    CutDataSet data;
};

std::vector<DataCase> dataCases() {
    std::vector<DataCase> cases;
    cases.push_back({"constant feeds per tool", BuildChartData(constantFeedsPerTool())});
    cases.push_back({"crossing feeds", BuildChartData(crossingFeeds())});
    cases.push_back({"G00 moves", BuildChartData(withRapids())});
    cases.push_back({"one record", BuildChartData(oneRecord())});
    return cases;
}

// The plain drawing's view of a record.
double plainValue(const CutRecord& record, int series, float g00Feed) {
    const bool rapid = record.motionCode == 0;
    switch (series) {
    case 1:
        return record.removal *
               ((rapid ? g00Feed : static_cast<float>(record.orgFeed)) * 0.016666668f);
    case 2:
        return record.removal *
               ((rapid ? g00Feed : static_cast<float>(record.optFeed)) * 0.016666668f);
    case 3:
        return record.orgFeed;
    case 4:
        return record.optFeed;
    default:
        return record.removal;
    }
}

bool plainBreaks(const CutRecord& record, int series) {
    return series >= 3 && record.motionCode == 0;
}

// The plain drawing's series, first to last, and whether the first is grey.
std::vector<int> seriesOf(const ChartState& chart) {
    switch (chart.compareMode) {
    case CompareMode::Rates:
        return {1, 2};
    case CompareMode::Feeds:
        return {3, 4};
    default:
        return {chart.drawMode};
    }
}

// The top of the scale by the rules: the file's largest value of either series (the rates'
// maxima as the loader took them), or with fit height the largest value drawn in the range.
double plainMaximum(const ChartState& chart, const CutDataSet& data, const ChartFrame& frame) {
    Shown shown{0, data.count};
    if (chart.fitHeight)
        shown = shownRecords(data, frame, chart.distanceMode);
    else if (chart.compareMode == CompareMode::Rates)
        return std::max(data.maxima[1], data.maxima[2]);
    else if (chart.compareMode == CompareMode::None)
        return data.maxima[chart.drawMode];
    double highest = 0.0;
    bool any = false;
    for (const int series : seriesOf(chart))
        for (std::uint32_t i = shown.first; i < shown.end; ++i) {
            if (plainBreaks(data.records[i], series))
                continue;
            double value = plainValue(data.records[i], series, chart.g00Feed);
            value = std::isnan(value) ? 0.0 : value;
            highest = any ? std::max(highest, value) : value;
            any = true;
        }
    return highest;
}

// Ignores the renderer's curve and draws the plain one in its place, before the axes.
class PlainCurves : public PlainCurvePath {
public:
    PlainCurves(GdiCanvas& canvas, const ChartState& chart, const CutDataSet& data)
        : canvas_(canvas), chart_(chart), data_(data) {}

private:
    void draw() override {
        ChartFrame frame = plainFrame(chart_, data_);
        setMaximum(frame, static_cast<float>(plainMaximum(chart_, data_, frame)));
        const Shown shown = shownRecords(data_, frame, chart_.distanceMode);
        const std::vector<int> colours = plainColours(data_, chart_.colourByTool);
        const std::vector<int> series = seriesOf(chart_);
        for (std::size_t layer = 0; layer < series.size(); ++layer) {
            const bool grey = series.size() == 2 && layer == 0;
            bool open = false;
            for (std::uint32_t i = shown.first; i < shown.end; ++i) {
                const CutRecord& record = data_.records[i];
                if (plainBreaks(record, series[layer])) {
                    open = false;
                    continue;
                }
                canvas_.selectPen(grey ? 0x808080
                                       : chart_.colours[static_cast<std::size_t>(colours[i])]);
                const int x = frame.pointX(horizontal(data_, i, chart_.distanceMode));
                const int y = frame.pointY(
                    static_cast<float>(plainValue(record, series[layer], chart_.g00Feed)));
                if (open)
                    canvas_.lineTo(x, y);
                else
                    canvas_.moveTo(x, y);
                open = true;
            }
        }
    }

    GdiCanvas& canvas_;
    const ChartState& chart_;
    const CutDataSet& data_;
};

struct View {
    CompareMode compare = CompareMode::None;
    int drawMode = 0;
    int distanceMode = 0;
    bool byTool = false;
    bool fit = false;
    float lower = 0.0f;
    float upper = 100.0f;
    int width = 900;
    int height = 500;
};

std::string describe(const View& view) {
    std::ostringstream text;
    text << "compare " << static_cast<int>(view.compare) << ", draw mode " << view.drawMode
         << ", distance mode " << view.distanceMode << (view.byTool ? ", by tool" : "")
         << (view.fit ? ", fit height" : "") << ", window " << view.lower << ".." << view.upper
         << ", " << view.width << "x" << view.height;
    return text.str();
}

ChartState chartOf(const View& view) {
    ChartState chart;
    chart.width = view.width;
    chart.height = view.height;
    chart.compareMode = view.compare;
    chart.drawMode = static_cast<std::uint8_t>(view.drawMode);
    chart.distanceMode = view.distanceMode;
    chart.colourByTool = view.byTool;
    chart.fitHeight = view.fit;
    chart.shown.lower = view.lower;
    chart.shown.upper = view.upper;
    chart.xTitle = std::string("X");
    chart.yTitle = std::string("Y");
    return chart;
}

void expectPlainDrawing(const CutDataSet& data, const View& view, const char* name) {
    const ChartState chart = chartOf(view);
    QImage drawn = blankImage(view.width, view.height);
    DrawGraph(drawn, chart, &data);
    QImage plain = blankImage(view.width, view.height);
    {
        GdiCanvas canvas(plain);
        PlainCurves curves(canvas, chart, data);
        DrawGraph(canvas, chart, &data, curves);
    }
    ASSERT_EQ(drawn, plain) << name << ", " << describe(view) << ": "
                            << firstDifference(drawn, plain);
}

TEST(CompareCharts, DrawAsThePlainDrawingOverEveryAxisAndWindow) {
    ensureGuiApplication();
    const std::vector<DataCase> cases = dataCases();
    const float windows[][2] = {{0.0f, 100.0f}, {30.0f, 62.5f}, {49.0f, 49.4f}};
    for (const DataCase& c : cases)
        for (const CompareMode compare : {CompareMode::Rates, CompareMode::Feeds})
            for (int distanceMode = 0; distanceMode <= 2; ++distanceMode)
                for (const bool byTool : {false, true})
                    for (const bool fit : {false, true})
                        for (const auto& window : windows) {
                            View view;
                            view.compare = compare;
                            view.distanceMode = distanceMode;
                            view.byTool = byTool;
                            view.fit = fit;
                            view.lower = window[0];
                            view.upper = window[1];
                            expectPlainDrawing(c.data, view, c.name);
                        }
}

TEST(CompareCharts, ColourByToolAndFitHeightDrawEverySeriesAsThePlainDrawing) {
    ensureGuiApplication();
    const std::vector<DataCase> cases = dataCases();
    for (const DataCase& c : cases)
        for (int drawMode = 0; drawMode <= 2; ++drawMode)
            for (const bool byTool : {false, true})
                for (const float lower : {0.0f, 40.0f}) {
                    View view;
                    view.drawMode = drawMode;
                    view.byTool = byTool;
                    view.fit = true;
                    view.lower = lower;
                    view.upper = lower + 20.0f;
                    expectPlainDrawing(c.data, view, c.name);
                    view.fit = false;
                    expectPlainDrawing(c.data, view, c.name);
                }
}

// The scale's top is the plain maximum, and the "MAX:" label shows it.
TEST(CompareCharts, TheScaleEndsAtTheLargestValueOfEitherSeries) {
    const std::vector<DataCase> cases = dataCases();
    for (const DataCase& c : cases)
        for (const CompareMode compare :
             {CompareMode::None, CompareMode::Rates, CompareMode::Feeds})
            for (const bool fit : {false, true}) {
                View view;
                view.compare = compare;
                view.drawMode = 1;
                view.fit = fit;
                view.lower = 20.0f;
                view.upper = 45.0f;
                const ChartState chart = chartOf(view);
                const ChartFrame frame = ViewFrame(chart, c.data);
                EXPECT_EQ(frame.maximum, static_cast<float>(plainMaximum(chart, c.data, frame)))
                    << c.name << ", " << describe(view);
            }
}

TEST(CompareCharts, FeedsScaleByTheFeedsOfMovesOnly) {
    std::vector<ChartBlock> blocks = crossingFeeds();
    blocks[10].rapid = true;
    blocks[10].orgFeed = 90000;
    blocks[11].optFeed = 4000;
    const CutDataSet data = BuildChartData(blocks);
    View view;
    view.compare = CompareMode::Feeds;
    EXPECT_EQ(ViewFrame(chartOf(view), data).maximum, 4000.0f);
}

LegendEntry entry(const std::string& caption, std::vector<int> colours) {
    LegendEntry made{caption, {}};
    for (const int n : colours)
        made.colours.push_back(DefaultCurveColour(n));
    return made;
}

// Tools 3, 5, 3, 0, 7, 5, 3 in runs of 40: the colouring by steps moves on at each change but the
// one away from tool 0, so tools 3 and 5 come back in new colours.
TEST(ChartLegend, ListsTheShownToolsInOrderOfFirstUseWithTheirColours) {
    const CutDataSet data = BuildChartData(constantFeedsPerTool());
    struct Case {
        const char* name;
        CompareMode compare;
        bool byTool;
        std::uint32_t first;
        std::uint32_t end;
        std::vector<LegendEntry> expected;
    };
    const Case cases[] = {
        {"steps",
         CompareMode::None,
         false,
         0,
         280,
         {entry("T3", {0, 2, 5}), entry("T5", {1, 4}), entry("T0", {3}), entry("T7", {3})}},
        {"nothing shown", CompareMode::None, false, 0, 0, {}},
        {"by tool, all",
         CompareMode::None,
         true,
         0,
         280,
         {entry("T3", {3}), entry("T5", {5}), entry("T0", {0}), entry("T7", {7})}},
        {"compare, part",
         CompareMode::Feeds,
         false,
         130,
         210,
         {{"programmed", {kCompareGrey}}, entry("T0", {3}), entry("T7", {3}), entry("T5", {4})}},
        {"compare, one tool",
         CompareMode::Rates,
         true,
         45,
         60,
         {{"programmed", {kCompareGrey}}, entry("T5", {5})}},
    };
    for (const Case& c : cases) {
        ChartState chart;
        chart.compareMode = c.compare;
        chart.colourByTool = c.byTool;
        EXPECT_EQ(ChartLegend(chart, data, c.first, c.end).entries(), c.expected) << c.name;
    }
}

// The legend read from the drawing index's colour steps lists what a look at every record finds,
// on data with many tool changes, tool 0 among them.
TEST(ChartLegend, TheIndexGivesTheEntriesOfEveryRecord) {
    const std::vector<TestBlock> blocks = synthesizedBlocks(21, 30000);
    const CutDataSet indexed = makeData(blocks);
    CutDataSet plain = makeData(blocks);
    plain.index = CutIndex();
    ASSERT_TRUE(indexed.index.covers(indexed));
    ASSERT_FALSE(plain.index.covers(plain));
    std::mt19937 random(5);
    std::uniform_int_distribution<std::uint32_t> record(0, indexed.count);
    for (int round = 0; round < 200; ++round) {
        std::uint32_t first = record(random);
        std::uint32_t end = record(random);
        if (first > end)
            std::swap(first, end);
        for (const bool byTool : {false, true}) {
            ChartState chart;
            chart.colourByTool = byTool;
            EXPECT_EQ(ChartLegend(chart, indexed, first, end).entries(),
                      ChartLegend(chart, plain, first, end).entries())
                << first << ".." << end << (byTool ? " by tool" : "");
        }
    }
}

// A binary file of runs of `run` moves per tool; tool -1 leaves the tool as the start has it (0).
std::string binaryRuns(const std::vector<std::int16_t>& tools, int run) {
    BinaryBytes bytes;
    bytes.header(0.0f, 0.0f, 0.0f);
    float x = 0.0f;
    for (const std::int16_t tool : tools)
        for (int k = 0; k < run; ++k) {
            x += 1.0f;
            if (tool >= 0)
                bytes.u16(0x0149).u16(static_cast<std::uint16_t>(tool));
            else
                bytes.u16(0x0148);
            bytes.f32(x).i32(600).f32(0.5f + 0.01f * static_cast<float>(k));
        }
    return bytes.bytes();
}

// A binary file's start point (tool 0) gives tool 0 an entry only when another shown record has
// tool 0; the legend is otherwise the one of the same records without the start's rule. A range
// that does not begin at the start is as before.
TEST(ChartLegend, TheStartPointGivesToolZeroAnEntryOnlyWhenAnotherShownRecordHasIt) {
    const struct Case {
        const char* name;
        std::vector<std::int16_t> tools;
    } cases[] = {
        {"start alone", {3, 5}},
        {"tool 0 later", {3, 0, 5}},
        {"tool 0 right after the start", {-1, 3, 5}},
        {"tools that come back", {3, 5, 3, 0, 3}},
    };
    for (const Case& c : cases) {
        CutDataSet indexed = loadBinary(binaryRuns(c.tools, 30));
        ASSERT_TRUE(indexed.moves.startPoint) << c.name;
        CutDataSet plain = loadBinary(binaryRuns(c.tools, 30));
        plain.index = CutIndex();
        CutDataSet unmarked = loadBinary(binaryRuns(c.tools, 30));
        unmarked.moves.startPoint = false;
        for (const std::uint32_t first : {0u, 1u, 31u})
            for (const std::uint32_t end : {1u, 2u, 31u, 61u, indexed.count}) {
                if (first >= end)
                    continue;
                bool company = false;
                for (std::uint32_t i = std::max(first, 1u); i < end; ++i)
                    company = company || indexed.records[i].toolNo == 0;
                // The tools by a walk over the shown records, in order of first use.
                std::vector<std::string> walked;
                for (std::uint32_t i = first; i < end; ++i) {
                    const std::string caption = "T" + std::to_string(indexed.records[i].toolNo);
                    if (std::find(walked.begin(), walked.end(), caption) == walked.end() &&
                        (i > 0 || company))
                        walked.push_back(caption);
                }
                for (const CompareMode compare : {CompareMode::None, CompareMode::Rates})
                    for (const bool byTool : {false, true}) {
                        const std::string what = std::string(c.name) + " " + std::to_string(first) +
                                                 ".." + std::to_string(end) +
                                                 (byTool ? " by tool" : "") +
                                                 (compare == CompareMode::None ? "" : " compared");
                        ChartState chart;
                        chart.colourByTool = byTool;
                        chart.compareMode = compare;
                        std::vector<LegendEntry> expected =
                            ChartLegend(chart, unmarked, first, end).entries();
                        if (first == 0 && !company)
                            std::erase_if(expected,
                                          [](const LegendEntry& e) { return e.caption == "T0"; });
                        const std::vector<LegendEntry> entries =
                            ChartLegend(chart, indexed, first, end).entries();
                        EXPECT_EQ(entries, expected) << what;
                        std::vector<std::string> captions;
                        for (std::size_t k = compare == CompareMode::None ? 0 : 1;
                             k < entries.size(); ++k)
                            captions.push_back(entries[k].caption);
                        EXPECT_EQ(captions, walked) << what;
                        EXPECT_EQ(ChartLegend(chart, plain, first, end).entries(), expected)
                            << what;
                    }
            }
    }
}

TEST(ChartLegend, NegativeToolsTakeTheirLowFourBits) {
    std::vector<ChartBlock> blocks(3);
    blocks[0].tool = -1;
    blocks[1].tool = -16;
    blocks[2].tool = 17;
    const CutDataSet data = BuildChartData(blocks);
    ChartState chart;
    chart.colourByTool = true;
    const std::vector<LegendEntry> expected = {entry("T-1", {15}), entry("T-16", {0}),
                                               entry("T17", {1})};
    EXPECT_EQ(ChartLegend(chart, data, 0, 3).entries(), expected);
}

// The legend sits in the plot area's top right corner, shows its swatches and leaves the "MAX:"
// label's row as it was.
TEST(ChartLegend, IsDrawnTopRightAndNeverOverTheMaximumLabel) {
    ensureGuiApplication();
    const CutDataSet data = BuildChartData(constantFeedsPerTool());
    for (const int width : {900, 160}) {
        View view;
        view.compare = CompareMode::Rates;
        view.width = width;
        ChartState chart = chartOf(view);
        QImage without = blankImage(view.width, view.height);
        DrawGraph(without, chart, &data);
        chart.legend = true;
        QImage with = blankImage(view.width, view.height);
        DrawGraph(with, chart, &data);
        const ChartFrame frame = ViewFrame(chart, data);
        for (int y = 0; y < frame.yTop + frame.fh + 4; ++y)
            for (int x = 0; x < view.width; ++x)
                ASSERT_EQ(with.pixel(x, y), without.pixel(x, y)) << width << ": " << x << "," << y;
        std::vector<QRgb> seen;
        for (int y = frame.yTop + frame.fh + 4; y < frame.y0; ++y)
            for (int x = frame.plotLeft() + 1; x < frame.xEnd; ++x)
                if (with.pixel(x, y) != without.pixel(x, y))
                    seen.push_back(with.pixel(x, y));
        for (const ColorRef colour : {kCompareGrey, DefaultCurveColour(0), DefaultCurveColour(5)})
            EXPECT_NE(std::find(seen.begin(), seen.end(), rgbOf(colour)), seen.end())
                << width << ": colour " << std::hex << colour;
    }
}

// Halves of the records: `left` on the first half, `right` on the second, each a curve of the
// removal: flat at a value, or a zig-zag between two values from record to record. Five tools in
// turn.
struct Half {
    float low = 0.0f;
    float high = 0.0f;
};

CutDataSet halves(Half left, Half right) {
    std::vector<ChartBlock> blocks;
    for (int k = 0; k < 2000; ++k) {
        const Half half = k < 1000 ? left : right;
        ChartBlock block;
        block.tool = static_cast<std::int16_t>(1 + k / 400);
        block.removal = k % 2 == 0 ? half.low : half.high;
        blocks.push_back(block);
    }
    return BuildChartData(blocks);
}

// The bounding box of the pixels the legend changes, drawn as a picture or as vector drawing
// rendered at the chart's size. Both drawings colour by tool, so that their labels lie alike.
QRect legendArea(ChartState chart, const CutDataSet& data, bool vector) {
    chart.colourByTool = true;
    const auto draw = [&](bool legend) {
        chart.legend = legend;
        QImage image = blankImage(chart.width, chart.height);
        if (vector) {
            QPainter painter(&image);
            DrawGraph(painter, chart, &data);
        } else {
            DrawGraph(image, chart, &data);
        }
        return image;
    };
    const QImage without = draw(false);
    const QImage with = draw(true);
    QRect area;
    for (int y = 0; y < chart.height; ++y)
        for (int x = 0; x < chart.width; ++x)
            if (with.pixel(x, y) != without.pixel(x, y))
                area |= QRect(x, y, 1, 1);
    return area;
}

enum class Corner { TopRight, BottomRight, BottomLeft, TopLeft };

// The corner of the plot area that a legend's area lies in.
Corner cornerOf(const QRect& area, const ChartFrame& frame) {
    const bool right = area.left() > (frame.x0 + frame.xEnd) / 2;
    const bool top = area.bottom() < (frame.yTop + frame.y0) / 2;
    return top ? (right ? Corner::TopRight : Corner::TopLeft)
               : (right ? Corner::BottomRight : Corner::BottomLeft);
}

// The legend takes the corner with the fewest curve pixels that does not hide the curve's highest
// point, ties in the order top right, bottom right, bottom left, top left; the vector drawing
// (SVG, PDF, the report) puts it where the picture does.
TEST(ChartLegend, TakesTheCornerThatHidesTheLeastCurve) {
    ensureGuiApplication();
    const struct {
        const char* name;
        Half left;
        Half right;
        bool fit;
        Corner corner;
    } cases[] = {
        {"top right full of curve", {0, 0}, {0, 10}, false, Corner::BottomLeft},
        {"top right full of curve, fit height", {0, 0}, {0, 10}, true, Corner::BottomLeft},
        {"left full of curve", {0, 10}, {0, 0}, false, Corner::TopRight},
        {"highest point flat in the top right", {0, 5}, {10, 10}, false, Corner::BottomRight},
        {"high on the left, a low zig-zag on the right", {3, 3}, {0, 1}, false, Corner::TopRight},
        {"a high flat line everywhere", {9, 9}, {9, 9}, false, Corner::BottomRight},
    };
    for (const auto& c : cases) {
        const CutDataSet data = halves(c.left, c.right);
        for (const auto& [width, height] : {std::pair{900, 500}, std::pair{640, 420}}) {
            View view;
            view.width = width;
            view.height = height;
            view.fit = c.fit;
            const ChartState chart = chartOf(view);
            const ChartFrame frame = ViewFrame(chart, data);
            const QRect picture = legendArea(chart, data, false);
            ASSERT_FALSE(picture.isEmpty()) << c.name;
            EXPECT_EQ(cornerOf(picture, frame), c.corner) << c.name << " " << width;
            EXPECT_GT(picture.left(), frame.x0 + 10) << c.name << ": clear of the ticks";
            EXPECT_LT(picture.bottom(), frame.y0 - 10) << c.name;
            EXPECT_GT(picture.top(), frame.yTop + frame.fh) << c.name << ": below MAX";
            EXPECT_LT(picture.right(), frame.xEnd) << c.name;
            const QRect vector = legendArea(chart, data, true);
            EXPECT_LE(std::abs(vector.left() - picture.left()), 2) << c.name;
            EXPECT_LE(std::abs(vector.top() - picture.top()), 2) << c.name;
            EXPECT_LE(std::abs(vector.bottom() - picture.bottom()), 2) << c.name;
        }
    }
}

// At most the rows that fit in half the plot height, the last saying how many tools are left out.
TEST(ChartLegend, RowsFitHalfThePlotHeight) {
    std::vector<ChartBlock> blocks;
    for (int k = 0; k < 600; ++k) {
        ChartBlock block;
        block.tool = static_cast<std::int16_t>(k / 10);
        block.removal = static_cast<float>(k % 3);
        blocks.push_back(block);
    }
    const CutDataSet data = BuildChartData(blocks);
    const ChartLegend legend(chartOf(View{}), data, 0, data.count);
    ASSERT_EQ(legend.entries().size(), 60u);
    const struct {
        int maxRows;
        std::vector<std::string> captions;
    } cases[] = {
        {0, {}}, {1, {"+60 more"}}, {3, {"T0", "T1", "+58 more"}}, {59, {}}, {60, {}}, {61, {}},
    };
    for (const auto& c : cases) {
        const std::vector<LegendEntry> rows = legend.rows(c.maxRows);
        ASSERT_EQ(rows.size(), std::min<std::size_t>(static_cast<std::size_t>(c.maxRows), 60u))
            << c.maxRows;
        if (!c.captions.empty()) {
            std::vector<std::string> captions;
            for (const LegendEntry& row : rows)
                captions.push_back(row.caption);
            EXPECT_EQ(captions, c.captions) << c.maxRows;
            EXPECT_TRUE(rows.back().colours.empty()) << c.maxRows;
        }
        if (c.maxRows > 1 && c.maxRows < 60) {
            EXPECT_EQ(rows.back().caption, "+" + std::to_string(61 - c.maxRows) + " more");
        }
        if (c.maxRows >= 60) {
            EXPECT_EQ(rows, legend.entries()) << c.maxRows;
        }
    }
    for (const int height : {200, 300, 500, 800}) {
        View view;
        view.height = height;
        const ChartState chart = chartOf(view);
        const ChartFrame frame = ViewFrame(chart, data);
        const int maxRows = LegendPlacement::maxRows(frame);
        const std::vector<LegendEntry> rows = legend.rows(maxRows);
        const LegendPlacement placement(frame, ChartLegend::width(rows, frame),
                                        static_cast<int>(rows.size()));
        for (const LegendPlacement::Corner corner : LegendPlacement::kCorners) {
            const LegendBox box = placement.box(corner);
            EXPECT_EQ(box.rows, maxRows) << height;
            EXPECT_LE(box.bottom - box.top, (frame.y0 - frame.yTop) / 2) << height;
        }
        EXPECT_GT((maxRows + 1) * LegendPlacement::rowHeight(frame) +
                      2 * LegendPlacement::pad(frame),
                  (frame.y0 - frame.yTop) / 2)
            << height << ": one row more would not fit";
    }
}

// Sixty tools, more than any legend has rows for: at every size, drawn as a picture or as vector
// drawing, every pixel the legend changes lies inside the plot area, clear of its frame.
TEST(ChartLegend, ALegendOfMoreToolsThanRowsStaysInsideThePlotArea) {
    ensureGuiApplication();
    std::vector<ChartBlock> blocks;
    for (int k = 0; k < 600; ++k) {
        ChartBlock block;
        block.tool = static_cast<std::int16_t>(k / 10);
        block.removal = static_cast<float>(1 + k % 7);
        blocks.push_back(block);
    }
    const CutDataSet data = BuildChartData(blocks);
    for (const auto& [width, height] :
         {std::pair{900, 500}, std::pair{640, 420}, std::pair{400, 300}, std::pair{1200, 240},
          std::pair{300, 600}}) {
        View view;
        view.width = width;
        view.height = height;
        const ChartState chart = chartOf(view);
        const ChartFrame frame = ViewFrame(chart, data);
        ASSERT_LT(LegendPlacement::maxRows(frame), 60) << width << "x" << height;
        for (const bool vector : {false, true}) {
            const QRect area = legendArea(chart, data, vector);
            const std::string name = std::to_string(width) + "x" + std::to_string(height) +
                                     (vector ? " vector" : " picture");
            ASSERT_FALSE(area.isEmpty()) << name;
            EXPECT_GT(area.left(), frame.x0) << name;
            EXPECT_LT(area.right(), frame.xEnd) << name;
            EXPECT_GT(area.top(), frame.yTop) << name;
            EXPECT_LT(area.bottom(), frame.y0) << name;
        }
    }
}

// Whether any pixel of the image's outer rows and columns differs from the background: the ink
// of a label cut off by the edge.
std::string inkOnTheEdge(const QImage& image) {
    const QRgb white = qRgb(255, 255, 255);
    for (int x = 0; x < image.width(); ++x)
        for (const int y : {0, image.height() - 1})
            if (image.pixel(x, y) != white)
                return std::to_string(x) + "," + std::to_string(y);
    for (int y = 0; y < image.height(); ++y)
        for (const int x : {0, image.width() - 1})
            if (image.pixel(x, y) != white)
                return std::to_string(x) + "," + std::to_string(y);
    return {};
}

// In every compare chart and with every view a user switches on, no tick label or title touches
// the edge of the image, over a grid of sizes at least half as wide as high (a narrower chart
// cannot hold its "MAX:" label in the font of 5 % of its height); titles too long for the image
// are cut.
TEST(LabelFit, EveryLabelLiesWholeInsideTheImage) {
    ensureGuiApplication();
    const CutDataSet data = BuildChartData(crossingFeeds());
    const std::string longTitle(90, 'W');
    struct Views {
        CompareMode compare;
        bool legend;
        bool fit;
        bool byTool;
        const char* yTitle;
    };
    const Views views[] = {
        {CompareMode::Rates, false, false, false, "Removal per Sec [mm3/sec]"},
        {CompareMode::Rates, true, false, false, "Removal per Sec [mm3/sec]"},
        {CompareMode::Feeds, false, false, false, "Feed [mm/min]"},
        {CompareMode::Feeds, true, true, true, "Feed [mm/min]"},
        {CompareMode::Rates, false, true, false, longTitle.c_str()},
        {CompareMode::None, false, true, false, "Amount of Cutting Removal [mm3/mm]"},
        {CompareMode::None, false, false, true, "Amount of Cutting Removal [mm3/mm]"},
        {CompareMode::None, true, false, false, longTitle.c_str()},
    };
    for (const Views& v : views)
        for (const int width : {120, 200, 333, 480, 640, 901, 1280})
            for (const int height : {90, 150, 241, 400, 600, 877}) {
                if (2 * width < height)
                    continue;
                View view;
                view.compare = v.compare;
                view.fit = v.fit;
                view.byTool = v.byTool;
                view.width = width;
                view.height = height;
                ChartState chart = chartOf(view);
                chart.legend = v.legend;
                chart.yTitle = v.yTitle;
                chart.xTitle = width < 400 ? longTitle : "Cutting Movement Distance [mm]";
                QImage image = blankImage(width, height);
                DrawGraph(image, chart, &data);
                EXPECT_EQ(inkOnTheEdge(image), "")
                    << describe(view) << (v.legend ? ", legend" : "") << ", " << v.yTitle;
            }
}

// A compare chart without a legend names the grey series in its vertical title when that fits; a
// title longer than the image is cut to a start of it. The plain chart keeps its titles as they
// are, however long.
TEST(LabelFit, TheGreyNoteJoinsTheTitleWhenItFits) {
    ensureGuiApplication();
    const std::string longTitle = "Removal per Sec [mm3/sec] with many more words than fit";
    const struct {
        CompareMode compare;
        bool legend;
        int height;
        std::string yTitle;
        std::string drawn; // empty: a start of the title, cut
    } cases[] = {
        {CompareMode::Feeds, false, 600, "Feed [mm/min]", "Feed [mm/min], grey: programmed"},
        {CompareMode::Feeds, true, 600, "Feed [mm/min]", "Feed [mm/min]"},
        {CompareMode::Rates, false, 600, "Removal per Sec [mm3/sec]", "Removal per Sec [mm3/sec]"},
        {CompareMode::Feeds, false, 200, "Feed [mm/min]", "Feed [mm/min], grey: programmed"},
        {CompareMode::Rates, false, 400, longTitle, ""},
        {CompareMode::Feeds, true, 801, longTitle, ""},
        {CompareMode::None, false, 200, longTitle, longTitle},
    };
    for (const auto& c : cases) {
        ChartState chart;
        chart.width = 500;
        chart.height = c.height;
        chart.compareMode = c.compare;
        chart.legend = c.legend;
        chart.yTitle = c.yTitle;
        const ChartFrame frame = LayoutFrame(chart.width, chart.height);
        const std::string drawn = LabelFit(frame, chart).verticalTitle();
        if (!c.drawn.empty()) {
            EXPECT_EQ(drawn, c.drawn) << c.yTitle << " " << c.height;
            continue;
        }
        EXPECT_EQ(c.yTitle.substr(0, drawn.size()), drawn) << c.height;
        EXPECT_LT(drawn.size(), c.yTitle.size()) << c.height;
        EXPECT_GE(drawn.size() * static_cast<std::size_t>(frame.cw),
                  static_cast<std::size_t>(frame.height * 8 / 10))
            << c.height << ": cut to what fits, not shorter";
    }
}

} // namespace
