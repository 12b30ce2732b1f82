#include "print/printerlayout.h"
#include "print/mprinterpg.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr int kMaximum = 32767;
constexpr int kBar = 255;

// A window whose viewport is 9375 x 6015 twips: inner size = viewport + 120 + bar + 140.
constexpr double kInnerWidth = 9375 + 120 + kBar + 140;
constexpr double kInnerHeight = 6015 + 120 + kBar + 140;

TEST(PrinterLayout, A4LandscapeInTheDesignViewport) {
    const auto layout =
        PrinterLayout::compute(kInnerWidth, kInnerHeight, kBar, kBar, 16838, 11906, kMaximum);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->frameLeft, 120);
    EXPECT_EQ(layout->frameTop, 120);
    EXPECT_EQ(layout->frameWidth, 9375);
    EXPECT_EQ(layout->frameHeight, 6015);
    EXPECT_EQ(layout->vscLeft, 9495);
    EXPECT_EQ(layout->vscTop, 120);
    EXPECT_EQ(layout->vscHeight, 6015);
    EXPECT_EQ(layout->hscLeft, 120);
    EXPECT_EQ(layout->hscTop, 6135);
    EXPECT_EQ(layout->hscWidth, 9375);
    EXPECT_FLOAT_EQ(layout->scrollScaleX, static_cast<float>((16838.0 - 9375.0) / kMaximum));
    EXPECT_FLOAT_EQ(layout->scrollScaleY, static_cast<float>((11906.0 - 6015.0) / kMaximum));
    EXPECT_EQ(layout->largeChange, 3277);
    EXPECT_EQ(layout->smallChange, 328);
    EXPECT_NEAR(PrinterLayout::paperOffset(kMaximum, layout->scrollScaleX), -7463, 0.01);
    EXPECT_NEAR(PrinterLayout::paperOffset(kMaximum, layout->scrollScaleY), -5891, 0.01);
    EXPECT_EQ(PrinterLayout::paperOffset(0, layout->scrollScaleX), 0);
}

TEST(PrinterLayout, PaperSmallerThanTheViewportScrollsTheOtherWay) {
    const auto layout =
        PrinterLayout::compute(kInnerWidth, kInnerHeight, kBar, kBar, 8415, 5295, kMaximum);
    ASSERT_TRUE(layout);
    EXPECT_LT(layout->scrollScaleX, 0);
    EXPECT_NEAR(PrinterLayout::paperOffset(kMaximum, layout->scrollScaleX), 9375 - 8415, 0.01);
}

TEST(PrinterLayout, WindowsTooSmallForTheLayoutAreSkipped) {
    struct Case {
        double width;
        double height;
        bool laidOut;
    };
    const Case cases[] = {
        {120 + kBar + 140, kInnerHeight, true}, // viewport width exactly 0
        {120 + kBar + 139, kInnerHeight, false},
        {kInnerWidth, 120 + kBar + 139, false},
        {0, 0, false},
        {-500, kInnerHeight, false},
    };
    for (const Case& c : cases) {
        const auto layout =
            PrinterLayout::compute(c.width, c.height, kBar, kBar, 16838, 11906, kMaximum);
        EXPECT_EQ(layout.has_value(), c.laidOut) << c.width << " x " << c.height;
        if (layout) {
            EXPECT_GE(layout->frameWidth, 0);
            EXPECT_GE(layout->frameHeight, 0);
        }
    }
}

TEST(PrinterLayout, ScrollChangesFollowTheMaximum) {
    const struct {
        int maximum;
        int large;
        int small;
    } cases[] = {{32767, 3277, 328}, {100, 10, 1}, {25, 2, 0}, {35, 4, 0}, {1050, 105, 10}};
    for (const auto& c : cases) {
        const auto layout =
            PrinterLayout::compute(kInnerWidth, kInnerHeight, kBar, kBar, 100, 100, c.maximum);
        ASSERT_TRUE(layout);
        EXPECT_EQ(layout->largeChange, c.large) << c.maximum;
        EXPECT_EQ(layout->smallChange, c.small) << c.maximum;
    }
}

TEST(CanvasPixels, TwipsToScreenPixelsRoundHalvesToEven) {
    const struct {
        double twips;
        double twipsPerPixel;
        int pixels;
    } cases[] = {
        {16838, 15, 1123}, // 1122.53
        {11906, 15, 794},  // 793.73
        {22.5, 15, 2},     // 1.5 -> 2
        {37.5, 15, 2},     // 2.5 -> 2
        {52.5, 15, 4},     // 3.5 -> 4
        {12240, 15, 816},  // Letter width
        {16838, 10, 1684}, // 1683.8 at 144 dpi
        {0, 15, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(canvasPixels(c.twips, c.twipsPerPixel), c.pixels) << c.twips;
    }
}

TEST(FindPrinterByName, MatchesWithoutRegardToCase) {
    const QStringList installed{"Office_Laser", "PDF", "office_laser_2", "Ärger"};
    const struct {
        const char* wanted;
        int index;
    } cases[] = {
        {"Office_Laser", 0}, {"OFFICE_LASER", 0}, {"pdf", 1}, {"Office_Laser_2", 2},
        {"ärger", 3},        {"Office", -1},      {"", -1},   {"PDF ", -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(findPrinterByName(installed, QString::fromUtf8(c.wanted)), c.index) << c.wanted;
    }
    EXPECT_EQ(findPrinterByName({}, QStringLiteral("PDF")), -1);
}

TEST(SetPrinterMessage, StoresEntriesZeroToFifteenAndIgnoresOthers) {
    appState().reset();
    const struct {
        int index;
        bool stored;
    } cases[] = {{0, true}, {1, true}, {15, true}, {16, false}, {-1, false}, {32767, false}};
    for (const auto& c : cases) {
        const QString text = QStringLiteral("text %1").arg(c.index);
        SetPrinterMessage(c.index, text);
        if (c.stored) {
            EXPECT_EQ(gPrinterMessages[static_cast<std::size_t>(c.index)], text);
        }
    }
    int filled = 0;
    for (const QString& message : gPrinterMessages) {
        filled += message.isEmpty() ? 0 : 1;
    }
    EXPECT_EQ(filled, 3);
}

} // namespace
