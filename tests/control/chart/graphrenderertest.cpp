#include "graphrenderer.h"
#include "chartcanvas.h"
#include "graphtestsupport.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

// At 1000 x 600: fh = 30, x0 = 63, y0 = 537, yTop = 12, xEnd = 980, break gap 100.
constexpr int kWidth = 1000;
constexpr int kHeight = 600;
constexpr int kX0 = 63;
constexpr int kY0 = 537;
constexpr int kXEnd = 980;
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kWhite = qRgb(255, 255, 255);

struct PathPoint {
    bool move;
    int x;
    int y;
    ColorRef pen;
    bool operator==(const PathPoint&) const = default;
};

// Remembers the curve as the renderer sends it.
class RecordingPath : public CurvePath {
public:
    void selectPen(ColorRef colour) override { pen_ = colour; }
    void moveTo(int x, int y) override { points.push_back({true, x, y, pen_}); }
    void lineTo(int x, int y) override { points.push_back({false, x, y, pen_}); }
    void finish() override {}

    std::vector<PathPoint> points;

private:
    ColorRef pen_ = 0;
};

struct Render {
    QImage image = blankImage(kWidth, kHeight);
    RecordingPath path;
};

void prepare(ChartState& chart) {
    chart.width = kWidth;
    chart.height = kHeight;
}

ChartDrawn render(Render& result, ChartState& chart, const CutDataSet* data) {
    ensureGuiApplication();
    prepare(chart);
    chart.xTitle = "Distance";
    chart.yTitle = "Removal";
    GdiCanvas canvas(result.image);
    return DrawGraph(canvas, chart, data, result.path);
}

std::vector<int> xsOf(const std::vector<PathPoint>& points) {
    std::vector<int> xs;
    for (const PathPoint& point : points)
        xs.push_back(point.x);
    return xs;
}

// Records at x = 0, 10, 50 and 100 with removal 0, 1, 4 and 10: the maximum 10 gives
// sy = 52.5, the full range sx = 9.17.
CutDataSet rampData() {
    return makeData({{0.0f, 0.0f}, {10.0f, 1.0f}, {40.0f, 4.0f}, {50.0f, 10.0f}});
}

void expectColumn(const QImage& image, int x, int yFrom, int yTo, QRgb colour) {
    for (int y = yFrom; y <= yTo; ++y)
        EXPECT_EQ(image.pixel(x, y), colour) << "at " << x << "," << y;
}

void expectRow(const QImage& image, int y, int xFrom, int xTo, QRgb colour) {
    for (int x = xFrom; x <= xTo; ++x)
        EXPECT_EQ(image.pixel(x, y), colour) << "at " << x << "," << y;
}

TEST(GraphRenderer, FullRangeMapsTheRecordsOntoTheAxes) {
    const CutDataSet data = rampData();
    ChartState chart;
    chart.colours[0] = 0x123456;
    Render result;
    const ChartDrawn drawn = render(result, chart, &data);

    const ColorRef pen = 0x123456;
    const std::vector<PathPoint> expected = {{true, kX0, kY0, pen},
                                             {false, kX0, kY0, pen},
                                             {false, 154, 485, pen},
                                             {false, 521, 327, pen},
                                             {false, kXEnd, 12, pen}};
    EXPECT_EQ(result.path.points, expected);
    EXPECT_EQ(drawn.fontHeight, 30);
    EXPECT_TRUE(drawn.withData);
    EXPECT_EQ(drawn.distMax, 100.0f);
    EXPECT_EQ(drawn.plotLeft, kX0);
    EXPECT_EQ(drawn.plotRight, kXEnd);

    const QImage& image = result.image;
    expectColumn(image, kX0, 13, kY0, kBlack);     // vertical axis
    expectRow(image, kY0, kX0, kXEnd - 1, kBlack); // horizontal axis, no break
    EXPECT_EQ(image.pixel(kXEnd, kY0), kWhite);
    expectRow(image, 275, kX0, kX0 + 9, kBlack); // the one vertical tick, 5 of 10
    EXPECT_EQ(image.pixel(kX0 + 10, 275), kWhite);
    expectColumn(image, 521, kY0 - 9, kY0, kBlack); // the one horizontal tick, 50 of 100
    EXPECT_EQ(image.pixel(521, kY0 - 10), kWhite);
}

TEST(GraphRenderer, CurvePixelsTakeTheirPenColours) {
    const CutDataSet data = rampData();
    ChartState chart;
    chart.colours[0] = 0x123456;
    QImage image = blankImage(kWidth, kHeight);
    prepare(chart);
    ensureGuiApplication();
    DrawGraph(image, chart, &data);
    EXPECT_EQ(image.pixel(154, 485), rgbOf(0x123456));
    EXPECT_EQ(image.pixel(521, 327), rgbOf(0x123456));
}

TEST(GraphRenderer, LowerPercentTenBreaksTheAxis) {
    const CutDataSet data = rampData();
    ChartState chart;
    chart.shown.lower = 10.0f;
    Render result;
    const ChartDrawn drawn = render(result, chart, &data);

    EXPECT_EQ(drawn.plotLeft, 163);
    ASSERT_FALSE(result.path.points.empty());
    EXPECT_EQ(result.path.points.front().x, 163); // xLo = 10 at 10 % of W right of the axis
    EXPECT_EQ(result.path.points.back().x, kXEnd);

    const QImage& image = result.image;
    // The hole from x0 + 50 on; the lower stroke at its right end reaches 2 pixels into it.
    expectRow(image, kY0, kX0, 112, kBlack);
    expectRow(image, kY0, 113, 120, kWhite);
    expectRow(image, kY0, 123, kXEnd - 1, kBlack);
    for (const int s : {113, 123}) {
        // Right half of a circle above the axis, inside s..s+4.
        EXPECT_EQ(image.pixel(s, kY0 - 10), kBlack) << s;
        EXPECT_EQ(image.pixel(s + 1, kY0 - 10), kBlack) << s;
        expectColumn(image, s + 4, kY0 - 6, kY0 - 5, kBlack);
        EXPECT_EQ(image.pixel(s + 1, kY0 - 6), kWhite) << s;
        EXPECT_EQ(image.pixel(s + 5, kY0 - 6), kWhite) << s;
        // Left half of a circle below the axis, inside s-5..s-1.
        EXPECT_EQ(image.pixel(s - 1, kY0 + 9), kBlack) << s;
        expectColumn(image, s - 5, kY0 + 4, kY0 + 5, kBlack);
        EXPECT_EQ(image.pixel(s - 6, kY0 + 4), kWhite) << s;
        EXPECT_EQ(image.pixel(s, kY0 + 5), kWhite) << s;
    }
    // Ticks every 25 from 25 on: 25 lands at 163 + trunc(15 x 9.0778).
    expectColumn(image, 299, kY0 - 9, kY0, kBlack);
}

TEST(GraphRenderer, ShortWindowsAreWidenedToThreeUnits) {
    std::vector<TestBlock> blocks{{0.0f, 1.0f}};
    for (int i = 1; i <= 100; ++i)
        blocks.push_back({1.0f, 1.0f});
    const CutDataSet data = makeData(blocks);
    struct Case {
        float lower;
        float upper;
        int firstX;
        int plotLeft;
    };
    // x = 0..100; the window covers records firstX..firstX + 3.
    const Case cases[] = {{50.0f, 51.0f, 50, 163}, {99.0f, 100.0f, 97, 163}, {0.0f, 1.0f, 0, kX0}};
    for (const Case& c : cases) {
        ChartState chart;
        chart.shown.lower = c.lower;
        chart.shown.upper = c.upper;
        Render result;
        const ChartDrawn drawn = render(result, chart, &data);
        const std::vector<PathPoint>& points = result.path.points;
        ASSERT_EQ(points.size(), 5u) << c.lower;
        EXPECT_EQ(points.front().x, c.plotLeft) << c.lower;
        // xHi lands on xEnd up to the rounding of the single-precision scale.
        EXPECT_NEAR(points.back().x, kXEnd, 1) << c.lower;
        EXPECT_EQ(drawn.plotLeft, c.plotLeft) << c.lower;
    }
}

TEST(GraphRenderer, ToolChangesAdvanceTheColour) {
    struct Case {
        const char* name;
        std::vector<std::int16_t> tools;
        float lowerPercent;
        std::vector<ColorRef> pens; // colour number of every line, first shown record on
    };
    const Case cases[] = {
        {"tool 0 between tools", {5, 5, 0, 7, 7, 5}, 0.0f, {0, 0, 0, 1, 1, 1, 2}},
        {"leaving tool 0 first", {0, 0, 3, 0, 4}, 0.0f, {0, 0, 0, 0, 1, 1}},
        {"sixteen colours wrap",
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17},
         0.0f,
         {0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0}},
        // x = 0..16, xLo = 8: the move uses the colour of the last skipped record.
        {"skipped records count",
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17},
         50.0f,
         {7, 8, 9, 10, 11, 12, 13, 14, 15, 0}},
    };
    for (const Case& c : cases) {
        std::vector<TestBlock> blocks;
        for (const std::int16_t tool : c.tools)
            blocks.push_back({blocks.empty() ? 0.0f : 1.0f, 1.0f, tool});
        const CutDataSet data = makeData(blocks);
        ChartState chart;
        for (int k = 0; k < kCurveColours; ++k)
            chart.colours[k] = static_cast<ColorRef>(k);
        chart.shown.lower = c.lowerPercent;
        Render result;
        render(result, chart, &data);
        std::vector<ColorRef> pens;
        for (const PathPoint& point : result.path.points)
            pens.push_back(point.pen);
        EXPECT_EQ(pens, c.pens) << c.name;
    }
}

TEST(GraphRenderer, TheLineIntoANewToolHasTheNewColour) {
    // x = 0..5 with removal 1 (the last 2): the curve runs along y = 537 - 262 = 275.
    const CutDataSet data = makeData({{0.0f, 1.0f, 5},
                                      {1.0f, 1.0f, 5},
                                      {1.0f, 1.0f, 0},
                                      {1.0f, 1.0f, 7},
                                      {1.0f, 1.0f, 7},
                                      {1.0f, 2.0f, 5}});
    ChartState chart;
    QImage image = blankImage(kWidth, kHeight);
    prepare(chart);
    ensureGuiApplication();
    DrawGraph(image, chart, &data);
    // Records at x = 63, 246, 429, 613, 796, 980.
    EXPECT_EQ(image.pixel(200, 275), rgbOf(DefaultCurveColour(0)));
    EXPECT_EQ(image.pixel(300, 275), rgbOf(DefaultCurveColour(1)));
    EXPECT_EQ(image.pixel(700, 275), rgbOf(DefaultCurveColour(1)));
    EXPECT_EQ(image.pixel(797, 274), rgbOf(DefaultCurveColour(2)));
}

TEST(GraphRenderer, BlockNumberModeKeepsTheTotalDistance) {
    const CutDataSet data = makeData(
        {{1.0f, 1.0f, 1, 100}, {1.0f, 1.0f, 1, 300}, {1.0f, 1.0f, 1, 200}, {1.0f, 1.0f, 1, 500}});
    struct Case {
        float lower;
        float upper;
        std::vector<int> xs;
    };
    const Case cases[] = {
        {0.0f, 100.0f, {246, 246, 613, 429, kXEnd}}, // sx = 1.834
        {50.0f, 100.0f, {326, 326, 0, kXEnd}},       // xLo = 250: 100 skipped, 200 still drawn
        // 250..251 is widened downward to 248..251, as 253 lies beyond the total distance 4;
        // the first shown record, 300, is moved to and already lies beyond the window.
        {50.0f, 50.2f, {14324}},
    };
    for (const Case& c : cases) {
        ChartState chart;
        chart.distanceMode = 2;
        chart.shown.lower = c.lower;
        chart.shown.upper = c.upper;
        Render result;
        const ChartDrawn drawn = render(result, chart, &data);
        EXPECT_EQ(xsOf(result.path.points), c.xs) << c.lower << ".." << c.upper;
        EXPECT_EQ(drawn.distMax, 4.0f);
    }
}

bool anyBlack(const QImage& image, int xFrom, int xTo, int yFrom, int yTo) {
    for (int y = yFrom; y <= yTo; ++y)
        for (int x = xFrom; x <= xTo; ++x)
            if (image.pixel(x, y) == kBlack)
                return true;
    return false;
}

TEST(GraphRenderer, MaximumZeroScalesByOne) {
    const CutDataSet data = makeData({{0.0f, 0.0f}, {1.0f, -3.0f}, {1.0f, 0.0f}});
    ChartState chart;
    Render result;
    render(result, chart, &data);
    ASSERT_EQ(result.path.points.size(), 4u);
    EXPECT_EQ(result.path.points[2].y, kY0 + 3);
    EXPECT_FALSE(anyBlack(result.image, kX0 + 1, kX0 + 9, 60, kY0 - 1));
}

TEST(GraphRenderer, WithoutDataOnlyTheFrameIsDrawn) {
    CutDataSet freed = makeData({{0.0f, 100.0f}, {1.0f, 1.0f}});
    FreeCutData(freed);
    struct Case {
        const char* name;
        const CutDataSet* data;
        int tickY; // 0 for no vertical tick
    };
    // The freed data set keeps its maximum 100: one tick at 50, one pixel per unit.
    const Case cases[] = {{"no data set", nullptr, 0}, {"freed data", &freed, kY0 - 50}};
    for (const Case& c : cases) {
        ChartState chart;
        chart.shown.lower = 10.0f;
        Render result;
        const ChartDrawn drawn = render(result, chart, c.data);
        EXPECT_TRUE(result.path.points.empty()) << c.name;
        EXPECT_FALSE(drawn.withData) << c.name;
        EXPECT_EQ(drawn.fontHeight, 30) << c.name;
        const QImage& image = result.image;
        expectColumn(image, kX0, 13, kY0, kBlack);
        expectRow(image, kY0, kX0, kXEnd - 1, kBlack); // no break mark
        if (c.tickY == 0)
            EXPECT_FALSE(anyBlack(image, kX0 + 1, kX0 + 9, 60, kY0 - 1)) << c.name;
        else
            expectRow(image, c.tickY, kX0, kX0 + 9, kBlack);
        EXPECT_FALSE(anyBlack(image, 100, kXEnd - 1, kY0 - 10, kY0 - 1)) << c.name;
    }
}

TEST(GraphRenderer, SurfacesOfOtherFormatsAreConverted) {
    ensureGuiApplication();
    for (const QImage::Format format :
         {QImage::Format_RGB16, QImage::Format_ARGB32_Premultiplied, QImage::Format_Indexed8}) {
        QImage image(kWidth, kHeight, format);
        ChartState chart;
        prepare(chart);
        DrawGraph(image, chart, nullptr);
        EXPECT_EQ(image.format(), QImage::Format_RGB32) << format;
        EXPECT_EQ(image.pixel(kX0, 300), kBlack) << format;
        EXPECT_EQ(image.pixel(500, 300), kWhite) << format;
    }
}

// The tick values among the labels (titles and "0" and "MAX:" left out).
std::vector<double> tickValues(const std::vector<std::string>& labels) {
    std::vector<double> values;
    for (const std::string& label : labels) {
        char* end = nullptr;
        const double value = std::strtod(label.c_str(), &end);
        if (end != label.c_str() && *end == '\0' && value != 0.0)
            values.push_back(value);
    }
    return values;
}

// An axis with more ticks than pixels (1,999 steps of 5e8 up to 1e12) keeps at most one tick per
// pixel, thinned evenly so that the ticks still reach the end of the axis.
TEST(GraphRenderer, TicksBeyondOnePerPixelAreThinnedEvenlyOverTheWholeAxis) {
    const struct {
        const char* name;
        CutDataSet data;
        bool vertical;
        int limit; // pixels along the axis: the plot height or width
    } cases[] = {
        {"vertical", makeData({{1.0f, 0.0f}, {99.0f, 1.0e12f}}), true, kHeight},
        {"horizontal", makeData({{1.0f, 0.0f}, {1.0e12f - 1.0f, 1.0f}}), false, kWidth},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ChartState chart;
        prepare(chart);
        LabelCanvas canvas;
        RecordingPath path;
        ensureGuiApplication();
        chart.xTitle = "Distance";
        chart.yTitle = "Removal";
        DrawGraph(canvas, chart, &c.data, path);
        const std::vector<double> ticks =
            tickValues(c.vertical ? canvas.upward : canvas.horizontalTexts());
        ASSERT_GE(ticks.size(), 2u);
        EXPECT_LE(ticks.size(), static_cast<std::size_t>(c.limit));
        EXPECT_GE(ticks.back(), 0.99e12) << "the ticks stop short of the maximum";
        EXPECT_LT(ticks.back(), 1.0e12);
        // Labels are single-precision values: equal steps within their rounding.
        const double spacing = ticks[1] - ticks[0];
        for (std::size_t i = 1; i < ticks.size(); ++i)
            ASSERT_NEAR(ticks[i] - ticks[i - 1], spacing, 1.0e-6 * ticks[i])
                << "after " << ticks[i - 1];
        EXPECT_NEAR(ticks[0], spacing, 1.0e-6 * spacing) << "the first tick is one step up";
    }
}

// A render without pixels draws nothing but still records what the data and the plot size give,
// exactly as a render onto a canvas of that size does.
TEST(GraphRenderer, ARenderWithoutPixelsStillRecordsTheRangeAndPlotEdges) {
    const CutDataSet data = rampData();
    for (const QSize size : {QSize(0, 0), QSize(0, 300), QSize(400, 0)}) {
        SCOPED_TRACE(size.width() * 10000 + size.height());
        ChartState chart;
        chart.width = size.width();
        chart.height = size.height();
        chart.xTitle = "Distance";
        chart.yTitle = "Removal";
        LabelCanvas canvas;
        RecordingPath path;
        ensureGuiApplication();
        const ChartDrawn onCanvas = DrawGraph(canvas, chart, &data, path);

        QImage none(size, QImage::Format_RGB32);
        const ChartDrawn withoutPixels = DrawGraph(none, chart, &data);
        EXPECT_TRUE(withoutPixels.withData);
        EXPECT_EQ(withoutPixels.distMax, 100.0f);
        EXPECT_EQ(withoutPixels.distMax, onCanvas.distMax);
        EXPECT_EQ(withoutPixels.plotLeft, onCanvas.plotLeft);
        EXPECT_EQ(withoutPixels.plotRight, onCanvas.plotRight);
        EXPECT_EQ(withoutPixels.fontHeight, onCanvas.fontHeight);
    }
}

TEST(NiceStep, ChoosesTwoOrMoreTicks) {
    struct Case {
        float a;
        float b;
        float step;
    };
    const Case cases[] = {{0.0f, 10.0f, 5.0f},   {0.0f, 90.0f, 25.0f},   {0.0f, 100.0f, 50.0f},
                          {26.0f, 74.0f, 10.0f}, {0.0f, 0.0f, 0.001f},   {0.0f, 3.0f, 1.0f},
                          {0.0f, 1.0f, 0.5f},    {0.0f, 4.0e9f, 5.0e8f}, {0.0f, 0.997f, 0.2f}};
    for (const Case& c : cases)
        EXPECT_EQ(NiceStep(c.a, c.b), c.step) << c.a << ".." << c.b;
}

TEST(FormatAxisValue, RemovesTrailingZerosButKeepsThePoint) {
    const std::pair<float, const char*> cases[] = {
        {2.5f, "2.5"},   {20.0f, "20."},  {0.001f, "0.001"}, {0.0f, "0."},       {100.0f, "100."},
        {0.25f, "0.25"}, {12.5f, "12.5"}, {0.998f, "0.998"}, {5000.0f, "5000."}, {0.0004f, "0."},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(FormatAxisValue(value), text) << value;
}

} // namespace
