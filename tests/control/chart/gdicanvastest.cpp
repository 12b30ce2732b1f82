#include "gdicanvas.h"
#include "graphtestsupport.h"

#include <gtest/gtest.h>

#include <QImage>

#include <random>
#include <set>
#include <utility>

namespace {

using PixelSet = std::set<std::pair<int, int>>;

PixelSet pixelsOf(const QImage& image, QRgb colour) {
    PixelSet pixels;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour)
                pixels.insert({x, y});
    return pixels;
}

const QRgb kBlack = qRgb(0, 0, 0);

struct LineCase {
    const char* name;
    int x1, y1, x2, y2;
    PixelSet expected;
};

TEST(GdiCanvas, LineToLeavesOutTheEndPixel) {
    const LineCase cases[] = {
        {"rightward", 2, 5, 6, 5, {{2, 5}, {3, 5}, {4, 5}, {5, 5}}},
        {"leftward", 6, 5, 2, 5, {{6, 5}, {5, 5}, {4, 5}, {3, 5}}},
        {"upward", 3, 7, 3, 4, {{3, 7}, {3, 6}, {3, 5}}},
        {"diagonal", 1, 1, 4, 4, {{1, 1}, {2, 2}, {3, 3}}},
        {"zero length", 4, 4, 4, 4, {}},
        {"one step", 4, 4, 5, 4, {{4, 4}}},
    };
    for (const LineCase& c : cases) {
        QImage image = blankImage(10, 10);
        {
            GdiCanvas canvas(image);
            canvas.selectPen(0x000000);
            canvas.moveTo(c.x1, c.y1);
            canvas.lineTo(c.x2, c.y2);
        }
        EXPECT_EQ(pixelsOf(image, kBlack), c.expected) << c.name;
    }
}

TEST(GdiCanvas, ColoursAreBlueGreenRedReferences) {
    const std::pair<ColorRef, QRgb> cases[] = {{0x0000FF, qRgb(255, 0, 0)},
                                               {0x00FF00, qRgb(0, 255, 0)},
                                               {0xFF0000, qRgb(0, 0, 255)},
                                               {0x123456, qRgb(0x56, 0x34, 0x12)}};
    for (const auto& [reference, rgb] : cases) {
        QImage image = blankImage(4, 4);
        {
            GdiCanvas canvas(image);
            canvas.selectPen(reference);
            canvas.moveTo(0, 1);
            canvas.lineTo(3, 1);
            canvas.selectBrush(reference);
            canvas.rectangle(0, 3, 2, 4);
        }
        EXPECT_EQ(image.pixel(0, 1), rgb) << std::hex << reference;
        EXPECT_EQ(image.pixel(1, 3), rgb) << std::hex << reference;
    }
}

TEST(GdiCanvas, RectangleAndEllipseLeaveOutRightAndBottomEdges) {
    QImage image = blankImage(30, 30);
    {
        GdiCanvas canvas(image);
        canvas.selectPen(0x000000);
        canvas.selectBrush(0x0000FF);
        canvas.rectangle(2, 3, 8, 7);
        canvas.ellipse(10, 10, 20, 20);
    }
    const PixelSet outline = pixelsOf(image, kBlack);
    const PixelSet inside = pixelsOf(image, qRgb(255, 0, 0));
    int minX = 99, maxX = -1, minY = 99, maxY = -1;
    for (const auto& [x, y] : outline) {
        if (x < 10)
            continue;
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    EXPECT_EQ(std::make_tuple(minX, maxX, minY, maxY), std::make_tuple(10, 19, 10, 19));
    EXPECT_TRUE(outline.count({2, 3}) && outline.count({7, 6}));
    EXPECT_FALSE(outline.count({8, 6}) || outline.count({7, 7}));
    EXPECT_TRUE(inside.count({3, 4}) && inside.count({6, 5}) && inside.count({15, 15}));
    // The circle is symmetric: mirrored across both centre lines it is itself.
    for (const auto& [x, y] : outline) {
        if (x < 10)
            continue;
        EXPECT_TRUE(outline.count({29 - x, y}) && outline.count({x, 29 - y})) << x << "," << y;
    }
}

TEST(GdiCanvas, ClipRectangleBoundsLinesAndEllipses) {
    QImage image = blankImage(20, 20);
    {
        GdiCanvas canvas(image);
        canvas.selectPen(0x000000);
        canvas.selectBrush(0xFFFFFF);
        canvas.setClipRect(5, 5, 10, 10);
        canvas.ellipse(0, 0, 20, 20);
        canvas.moveTo(0, 7);
        canvas.lineTo(19, 7);
    }
    for (const auto& [x, y] : pixelsOf(image, kBlack))
        EXPECT_TRUE(x >= 5 && x < 10 && y >= 5 && y < 10) << x << "," << y;
    EXPECT_EQ(image.pixel(5, 7), kBlack);
    EXPECT_EQ(image.pixel(9, 7), kBlack);
}

// A line whose ends lie far outside the image paints exactly the pixels that the same line,
// drawn whole on a larger image, paints inside the window.
TEST(GdiCanvas, FarLinesPaintTheirVisiblePixelsExactly) {
    constexpr int kWindow = 40;
    constexpr int kMargin = 600;
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coordinate(-kMargin, kWindow + kMargin - 1);
    for (int round = 0; round < 300; ++round) {
        const int x1 = coordinate(random), y1 = coordinate(random);
        const int x2 = coordinate(random), y2 = coordinate(random);
        QImage window = blankImage(kWindow, kWindow);
        QImage whole = blankImage(kWindow + 2 * kMargin, kWindow + 2 * kMargin);
        {
            GdiCanvas small(window);
            small.selectPen(0x000000);
            small.moveTo(x1, y1);
            small.lineTo(x2, y2);
            GdiCanvas large(whole);
            large.selectPen(0x000000);
            large.moveTo(x1 + kMargin, y1 + kMargin);
            large.lineTo(x2 + kMargin, y2 + kMargin);
        }
        ASSERT_EQ(window, whole.copy(kMargin, kMargin, kWindow, kWindow))
            << "line " << x1 << "," << y1 << " to " << x2 << "," << y2;
    }
}

TEST(GdiCanvas, LinesAtTheEndsOfTheCoordinateRange) {
    constexpr int kLow = -2147483647;
    constexpr int kHigh = 2147483647;
    QImage image = blankImage(50, 30);
    {
        GdiCanvas canvas(image);
        canvas.selectPen(0x000000);
        canvas.moveTo(kLow, kLow);
        canvas.lineTo(kHigh, kHigh);
        canvas.moveTo(kLow, 25);
        canvas.lineTo(kHigh, 25);
        canvas.moveTo(45, kHigh);
        canvas.lineTo(45, kLow);
    }
    PixelSet expected;
    for (int i = 0; i < 30; ++i)
        expected.insert({i, i});
    for (int x = 0; x < 50; ++x)
        expected.insert({x, 25});
    for (int y = 0; y < 30; ++y)
        expected.insert({45, y});
    EXPECT_EQ(pixelsOf(image, kBlack), expected);
}

// Titles come from the settings file: one a Japanese site saved in its code page (CP932) is
// drawn as the same characters as their UTF-8 spelling, upright and upward.
TEST(GdiCanvas, TextThatIsNoUtf8IsDrawnAsCp932) {
    ensureGuiApplication();
    const std::string cp932 = "\x89\xC1\x8D\x48\x83\x66\x81\x5B\x83\x5E"; // 加工データ
    const std::string utf8 = "加工データ";
    for (const auto direction :
         {ChartCanvas::TextDirection::Horizontal, ChartCanvas::TextDirection::Upward}) {
        const auto draw = [direction](const std::string& text) {
            QImage image = blankImage(200, 200);
            GdiCanvas canvas(image);
            canvas.selectFont(30, direction);
            canvas.textOut(20, 150, text);
            return image;
        };
        const QImage shown = draw(cp932);
        EXPECT_FALSE(pixelsOf(shown, kBlack).empty());
        EXPECT_EQ(shown, draw(utf8));
    }
}

} // namespace
