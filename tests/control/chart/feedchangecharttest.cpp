#include "chartframe.h"
#include "graphrenderer.h"
#include "graphtestsupport.h"
#include "plainchart.h"
#include "shownpeaks.h"

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

// The feed-change chart and its peaks, each against a reading of the rules written here: a walk
// over the records that computes every change, its scale and its breaks, drawn line by line.

namespace {

// G00 moves and moves without a programmed feed (0 or below) here and there, runs of them too;
// slowdowns and speed-ups of every size, the optimised feed 0 or negative now and then.
std::vector<ChartBlock> mixedChanges(unsigned seed, int count) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> percent(0, 99);
    std::vector<ChartBlock> blocks;
    for (int k = 0; k < count; ++k) {
        ChartBlock block;
        const int kind = percent(random);
        block.rapid = kind < 10;
        block.step = block.rapid ? static_cast<float>(percent(random)) * 0.2f
                                 : static_cast<float>(percent(random)) * 0.005f;
        block.tool = static_cast<std::int16_t>(k / 700 % 5 - 1);
        block.orgFeed = kind >= 10 && kind < 16 ? -percent(random) * (kind % 2) : 200 + 20 * kind;
        block.optFeed = kind == 50 ? 0 : block.orgFeed + (percent(random) - 60) * 15;
        if (k % 3000 > 2900)
            block.orgFeed = 0; // a long stretch without feed
        blocks.push_back(block);
    }
    return blocks;
}

// Long stretches between breaks, as machining programs have them: a G00 run or a move without a
// programmed feed every few hundred records, the change stepping within a stretch and now and
// then at its last records, tools changing inside and at the breaks.
std::vector<ChartBlock> longStretches(unsigned seed, int count) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> percent(0, 99);
    std::vector<ChartBlock> blocks;
    int level = 0;
    for (int k = 0; k < count; ++k) {
        ChartBlock block;
        block.rapid = k % 431 < 2;
        block.step = block.rapid ? 30.0f : 0.002f * static_cast<float>(1 + k % 7);
        block.tool = static_cast<std::int16_t>(1 + k / 1700 % 4);
        block.orgFeed = k % 613 == 17 ? 0 : 1000;
        if (percent(random) < 3)
            level = percent(random) - 50;
        block.optFeed = 1000 + 10 * level + (k % 431 > 425 ? 400 : 0);
        blocks.push_back(block);
    }
    return blocks;
}

// Only speed-ups, so that nothing crosses the zero line.
std::vector<ChartBlock> fasterOnly() {
    std::vector<ChartBlock> blocks;
    for (int k = 0; k < 4000; ++k) {
        ChartBlock block;
        block.step = 0.1f + static_cast<float>(k % 5) * 0.05f;
        block.orgFeed = 500;
        block.optFeed = 520 + k % 300;
        block.rapid = k % 97 == 0;
        blocks.push_back(block);
    }
    return blocks;
}

// Every feed as programmed.
std::vector<ChartBlock> unchanged() {
    std::vector<ChartBlock> blocks(300);
    for (std::size_t k = 0; k < blocks.size(); ++k) {
        blocks[k].orgFeed = blocks[k].optFeed = 400 + static_cast<std::int32_t>(k);
        blocks[k].rapid = k % 50 == 7;
    }
    return blocks;
}

struct DataCase {
    const char* name;
    CutDataSet data;
};

std::vector<DataCase> dataCases() {
    std::vector<DataCase> cases;
    cases.push_back({"mixed changes", BuildChartData(mixedChanges(5, 20000))});
    cases.push_back({"long stretches", BuildChartData(longStretches(3, 30000))});
    cases.push_back({"faster only", BuildChartData(fasterOnly())});
    cases.push_back({"unchanged", BuildChartData(unchanged())});
    ChartBlock one;
    one.orgFeed = 800;
    one.optFeed = 500;
    cases.push_back({"one record", BuildChartData({one})});
    return cases;
}

// The rule: a record that is no G00 move and has a programmed feed above 0 changes by
// (optimised - programmed) / programmed x 100 percent; any other record has no change.
std::optional<float> plainChange(const CutRecord& record) {
    if (record.motionCode == 0 || record.orgFeed <= 0)
        return std::nullopt;
    const double programmed = static_cast<double>(record.orgFeed);
    const double optimised = static_cast<double>(record.optFeed);
    return static_cast<float>((optimised - programmed) * 100.0 / programmed);
}

// The smallest and largest change of the file, or with fit height of the shown records.
struct Extremes {
    bool any = false;
    float lo = 0.0f;
    float hi = 0.0f;
};

Extremes plainExtremes(const CutDataSet& data, Shown over) {
    Extremes extremes;
    for (std::uint32_t i = over.first; i < over.end; ++i)
        if (const auto change = plainChange(data.records[i])) {
            extremes.lo = extremes.any ? std::min(extremes.lo, *change) : *change;
            extremes.hi = extremes.any ? std::max(extremes.hi, *change) : *change;
            extremes.any = true;
        }
    return extremes;
}

// The signed scale: the plot's height between the axis and 2 % below the top holds -extent up to
// +extent, with 0 in its middle; the extent is the largest absolute change, 1 when none is above 0.
struct PlainScale {
    Extremes extremes;
    float extent = 1.0f;
    int zeroRow = 0;
    float pixelsPerPercent = 0.0f;

    int row(float change) const { return zeroRow - static_cast<int>(change * pixelsPerPercent); }
};

PlainScale plainScale(const ChartState& chart, const CutDataSet& data, const ChartFrame& frame) {
    PlainScale scale;
    scale.extremes =
        plainExtremes(data, chart.fitHeight ? shownRecords(data, frame, chart.distanceMode)
                                            : Shown{0, data.count});
    const float largest = std::max(std::fabs(scale.extremes.lo), std::fabs(scale.extremes.hi));
    scale.extent = largest > 0.0f ? largest : 1.0f;
    const double half = (frame.fy - 0.02) * frame.height / 2.0;
    scale.zeroRow = frame.y0 - static_cast<int>(half);
    scale.pixelsPerPercent = static_cast<float>(half / scale.extent);
    return scale;
}

// Ignores the renderer's curve and draws the plain one in its place: a line from each record with
// a change to the next, broken at every record without one.
class PlainChangeCurve : public PlainCurvePath {
public:
    PlainChangeCurve(GdiCanvas& canvas, const ChartState& chart, const CutDataSet& data)
        : canvas_(canvas), chart_(chart), data_(data) {}

private:
    void draw() override {
        const ChartFrame frame = plainFrame(chart_, data_);
        const PlainScale scale = plainScale(chart_, data_, frame);
        const Shown shown = shownRecords(data_, frame, chart_.distanceMode);
        const std::vector<int> colours = plainColours(data_, chart_.colourByTool);
        bool open = false;
        for (std::uint32_t i = shown.first; i < shown.end; ++i) {
            const auto change = plainChange(data_.records[i]);
            if (!change) {
                open = false;
                continue;
            }
            canvas_.selectPen(chart_.colours[static_cast<std::size_t>(colours[i])]);
            const int x = frame.pointX(horizontal(data_, i, chart_.distanceMode));
            const int y = scale.row(*change);
            if (open)
                canvas_.lineTo(x, y);
            else
                canvas_.moveTo(x, y);
            open = true;
        }
    }

    GdiCanvas& canvas_;
    const ChartState& chart_;
    const CutDataSet& data_;
};

struct View {
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
    text << "distance mode " << view.distanceMode << (view.byTool ? ", by tool" : "")
         << (view.fit ? ", fit height" : "") << ", window " << view.lower << ".." << view.upper
         << ", " << view.width << "x" << view.height;
    return text.str();
}

ChartState chartOf(const View& view) {
    ChartState chart;
    chart.width = view.width;
    chart.height = view.height;
    chart.compareMode = CompareMode::FeedChange;
    chart.distanceMode = view.distanceMode;
    chart.colourByTool = view.byTool;
    chart.fitHeight = view.fit;
    chart.shown.lower = view.lower;
    chart.shown.upper = view.upper;
    chart.xTitle = std::string("X");
    chart.yTitle = std::string("Feed Change [%]");
    return chart;
}

// "%0.3f" without its trailing zeros, as the chart's labels are written.
std::string chartNumber(float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%0.3f", static_cast<double>(value));
    std::string written(text);
    while (written.back() == '0')
        written.pop_back();
    return written;
}

const LabelCanvas::Label* labelStarting(const LabelCanvas& canvas, const std::string& start) {
    for (const LabelCanvas::Label& label : canvas.horizontal)
        if (label.text.rfind(start, 0) == 0)
            return &label;
    return nullptr;
}

} // namespace

TEST(FeedChangeChart, DrawsAsTheRecordWalkOverEveryAxisAndWindow) {
    ensureGuiApplication();
    const std::vector<DataCase> cases = dataCases();
    const float windows[][2] = {{0.0f, 100.0f}, {30.0f, 62.5f}, {49.0f, 49.4f}, {99.0f, 100.0f}};
    for (const DataCase& c : cases)
        for (int distanceMode = 0; distanceMode <= 2; ++distanceMode)
            for (const bool byTool : {false, true})
                for (const bool fit : {false, true})
                    for (const auto& window : windows) {
                        View view;
                        view.distanceMode = distanceMode;
                        view.byTool = byTool;
                        view.fit = fit;
                        view.lower = window[0];
                        view.upper = window[1];
                        const ChartState chart = chartOf(view);
                        QImage drawn = blankImage(view.width, view.height);
                        DrawGraph(drawn, chart, &c.data);
                        QImage plain = blankImage(view.width, view.height);
                        {
                            GdiCanvas canvas(plain);
                            PlainChangeCurve curve(canvas, chart, c.data);
                            DrawGraph(canvas, chart, &c.data, curve);
                        }
                        ASSERT_EQ(drawn, plain) << c.name << ", " << describe(view) << ": "
                                                << firstDifference(drawn, plain);
                    }
}

// The frame the renderer and the read-out share: zero row, scale and both extremes.
TEST(FeedChangeChart, TheScaleIsSymmetricAboutZeroAtTheLargestAbsoluteChange) {
    const std::vector<DataCase> cases = dataCases();
    for (const DataCase& c : cases)
        for (const bool fit : {false, true})
            for (const float lower : {0.0f, 35.0f}) {
                View view;
                view.fit = fit;
                view.lower = lower;
                view.upper = lower + 10.0f;
                const ChartState chart = chartOf(view);
                const ChartFrame frame = ViewFrame(chart, c.data);
                const PlainScale scale = plainScale(chart, c.data, frame);
                SCOPED_TRACE(std::string(c.name) + ", " + describe(view));
                EXPECT_TRUE(frame.signedScale);
                EXPECT_EQ(frame.yZero, scale.zeroRow);
                EXPECT_EQ(frame.sy, scale.pixelsPerPercent);
                EXPECT_EQ(frame.maximum, scale.extremes.hi);
                EXPECT_EQ(frame.minimum, scale.extremes.lo);
                EXPECT_EQ(frame.pointY(scale.extent), scale.row(scale.extent));
                EXPECT_EQ(frame.pointY(-scale.extent), scale.row(-scale.extent));
                EXPECT_NEAR(frame.pointY(-scale.extent), frame.y0, 1);
            }
}

// MAX: and MIN: give the extremes, the MIN: label under the other; the tick labels pair up about
// zero with an ASCII minus; and the zero line runs across the plot.
TEST(FeedChangeChart, LabelsTheExtremesTheTicksBothWaysAndTheZeroLine) {
    ensureGuiApplication();
    const std::vector<DataCase> cases = dataCases();
    for (const DataCase& c : cases) {
        SCOPED_TRACE(c.name);
        const ChartState chart = chartOf(View{});
        LabelCanvas canvas;
        QImage image = blankImage(chart.width, chart.height);
        GdiCanvas pixels(image);
        DirectPath path(pixels);
        DrawGraph(canvas, chart, &c.data, path);
        const ChartFrame frame = ViewFrame(chart, c.data);
        const PlainScale scale = plainScale(chart, c.data, frame);
        const LabelCanvas::Label* max = labelStarting(canvas, "MAX: ");
        const LabelCanvas::Label* min = labelStarting(canvas, "MIN: ");
        ASSERT_NE(max, nullptr);
        ASSERT_NE(min, nullptr);
        EXPECT_EQ(max->text, "MAX: " + chartNumber(scale.extremes.hi));
        EXPECT_EQ(min->text, "MIN: " + chartNumber(scale.extremes.lo));
        EXPECT_GT(min->y, max->y);
        std::vector<std::string> positive;
        std::vector<std::string> negative;
        for (const std::string& label : canvas.upward) {
            const double value = std::strtod(label.c_str(), nullptr);
            if (label == chart.yTitle || value == 0.0)
                continue;
            EXPECT_LT(std::fabs(value), scale.extent) << label;
            (value > 0.0 ? positive : negative).push_back(label);
        }
        ASSERT_FALSE(positive.empty());
        ASSERT_EQ(positive.size(), negative.size());
        for (std::size_t k = 0; k < positive.size(); ++k)
            EXPECT_EQ(negative[k], "-" + positive[k]);
        const auto zeroLabel =
            std::find_if(canvas.horizontal.begin(), canvas.horizontal.end(),
                         [](const LabelCanvas::Label& label) { return label.text == "0"; });
        ASSERT_NE(zeroLabel, canvas.horizontal.end());
        EXPECT_LE(zeroLabel->y, scale.zeroRow);
        EXPECT_GT(zeroLabel->y + frame.fh, scale.zeroRow);
    }
}

TEST(FeedChangeChart, TheZeroLineCrossesThePlotInTheAxisColour) {
    ensureGuiApplication();
    const CutDataSet data = BuildChartData(fasterOnly());
    const ChartState chart = chartOf(View{});
    QImage image = blankImage(chart.width, chart.height);
    DrawGraph(image, chart, &data);
    const ChartFrame frame = ViewFrame(chart, data);
    const PlainScale scale = plainScale(chart, data, frame);
    for (int x = frame.x0; x < frame.xEnd; ++x)
        ASSERT_EQ(image.pixel(x, scale.zeroRow), rgbOf(chart.axisColour)) << x;
    // Every change is above 0 here: no curve pixel lies below the zero line.
    for (int y = scale.zeroRow + 1; y < frame.y0 - kTickLength; ++y)
        for (int x = frame.x0 + kTickLength + 1; x < frame.xEnd; ++x)
            ASSERT_EQ(image.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
}

// A curve of unchanged feeds lies on the zero line and is drawn over it.
TEST(FeedChangeChart, ACurveAtZeroShowsOverTheZeroLine) {
    ensureGuiApplication();
    const CutDataSet data = BuildChartData(unchanged());
    const ChartState chart = chartOf(View{});
    QImage image = blankImage(chart.width, chart.height);
    DrawGraph(image, chart, &data);
    const ChartFrame frame = ViewFrame(chart, data);
    const int zeroRow = plainScale(chart, data, frame).zeroRow;
    int curve = 0;
    for (int x = frame.x0; x < frame.xEnd; ++x)
        curve += image.pixel(x, zeroRow) == rgbOf(chart.colours[0]);
    EXPECT_GT(curve, (frame.xEnd - frame.x0) / 2);
}

// The peaks against a search over every record: the largest absolute change first, then each
// time the largest one `gap` or more records from every peak taken, the earlier of equals.
TEST(FeedChangeChart, PeaksAreTheLargestAbsoluteChangesWithTheGapAndTieRules) {
    std::vector<ChartBlock> blocks = mixedChanges(8, 12000);
    // Ties: slowdowns and speed-ups of the same size, near each other and far apart.
    for (const std::size_t k : {100u, 150u, 4000u, 9000u}) {
        blocks[k] = ChartBlock{};
        blocks[k].orgFeed = 1000;
        blocks[k].optFeed = k % 2 == 0 ? 10000 : -8000;
    }
    const CutDataSet data = BuildChartData(blocks);
    const struct {
        std::uint32_t top;
        std::uint32_t gap;
        float lower;
        float upper;
    } cases[] = {
        {20, 100, 0, 100}, {7, 1, 0, 100}, {600, 1, 0, 100}, {30, 37, 20, 60}, {1000, 5, 0, 100}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "top " << c.top << ", gap " << c.gap);
        ChartState view = chartOf(View{});
        view.shown.lower = c.lower;
        view.shown.upper = c.upper;
        const ChartFrame frame = ViewFrame(view, data);
        const Shown shown = shownRecords(data, frame, view.distanceMode);
        std::vector<bool> near(data.count, false);
        std::vector<Peak> expected;
        while (expected.size() < c.top) {
            std::optional<std::uint32_t> best;
            for (std::uint32_t i = shown.first; i < shown.end; ++i) {
                const auto change = plainChange(data.records[i]);
                if (!change || near[i])
                    continue;
                if (!best || std::fabs(*change) > std::fabs(*plainChange(data.records[*best])))
                    best = i;
            }
            if (!best)
                break;
            expected.push_back({*best, *plainChange(data.records[*best])});
            for (std::uint32_t i = *best >= c.gap - 1 ? *best - (c.gap - 1) : 0;
                 i < std::min<std::uint32_t>(*best + c.gap, data.count); ++i)
                near[i] = true;
        }
        const std::vector<Peak> found = ShownPeaks(data, view, c.top, c.gap);
        ASSERT_EQ(found.size(), expected.size());
        for (std::size_t k = 0; k < found.size(); ++k) {
            EXPECT_EQ(found[k].index, expected[k].index) << "peak " << k;
            EXPECT_EQ(found[k].value, expected[k].value) << "peak " << k;
        }
    }
}
