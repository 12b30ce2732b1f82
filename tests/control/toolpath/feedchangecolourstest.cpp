#include "feedchangecolours.h"
#include "toolpathcolouring.h"
#include "toolpathrenderer.h"
#include "toolpathtesting.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>

#include <cmath>
#include <memory>
#include <string>

// The feed change's colours against the map's rule: RGB interpolation from grey for no change
// towards RGB(178, 24, 43) for the slowest and RGB(33, 102, 172) for the fastest change of the
// file, rounded per channel.

namespace {

struct Rgb {
    double r, g, b;
};

constexpr Rgb kSlow{178, 24, 43};
constexpr Rgb kGrey{190, 190, 190};
constexpr Rgb kFast{33, 102, 172};

std::uint32_t pixelOf(int r, int g, int b) {
    return 0xFF000000u | static_cast<std::uint32_t>(r) << 16 | static_cast<std::uint32_t>(g) << 8 |
           static_cast<std::uint32_t>(b);
}

// The map's colour at `share` of the way (-1 slowest .. +1 fastest), each channel rounded half
// away from 0.
std::uint32_t expectedColour(double share) {
    share = std::clamp(share, -1.0, 1.0);
    const Rgb& end = share < 0.0 ? kSlow : kFast;
    const double t = std::fabs(share);
    const auto channel = [t](double from, double to) {
        return static_cast<int>(std::round(from + (to - from) * t));
    };
    return pixelOf(channel(kGrey.r, end.r), channel(kGrey.g, end.g), channel(kGrey.b, end.b));
}

void ensureGuiApplication() {
    static int argc = 1;
    static char name[] = "feedchangecolourstests";
    static char* argv[] = {name, nullptr};
    static const std::unique_ptr<QGuiApplication> application =
        QGuiApplication::instance() ? nullptr : std::make_unique<QGuiApplication>(argc, argv);
}

// One text block at (x, 0, 0).
std::string block(int number, int x, int motion, int orgFeed, int optFeed) {
    return "N" + std::to_string(number) + ")G0" + std::to_string(motion) + "X" + std::to_string(x) +
           "Y0Z0F" + std::to_string(orgFeed) + "(A1)F" + std::to_string(optFeed) + "\n";
}

} // namespace

TEST(FeedChangeColours, EndsMiddleAndEveryShareFollowTheMap) {
    const struct {
        float change;
        float extent;
        double share;
    } cases[] = {
        {-40.0f, 40.0f, -1.0},   {0.0f, 40.0f, 0.0},     {40.0f, 40.0f, 1.0},
        {-20.0f, 40.0f, -0.5},   {10.0f, 40.0f, 0.25},   {-80.0f, 40.0f, -1.0},
        {300.0f, 40.0f, 1.0},    {-0.5f, 1.0f, -0.5},    {0.75f, 1.0f, 0.75},
        {-99.0f, 100.0f, -0.99}, {1.0f, 1000.0f, 0.001},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FeedChangeColour(c.change, c.extent), expectedColour(c.share))
            << c.change << " of " << c.extent;
    EXPECT_EQ(FeedChangeColour(-40.0f, 40.0f), pixelOf(178, 24, 43));
    EXPECT_EQ(FeedChangeColour(0.0f, 40.0f), pixelOf(190, 190, 190));
    EXPECT_EQ(FeedChangeColour(40.0f, 40.0f), pixelOf(33, 102, 172));
    EXPECT_EQ(FeedChangeColour(std::nanf(""), 40.0f), pixelOf(190, 190, 190));
    EXPECT_EQ(FeedChangeColour(5.0f, 0.0f), pixelOf(190, 190, 190));
    EXPECT_EQ(kNoFeedColour, pixelOf(96, 96, 96));
}

// Each record's colour against a walk: G00 moves grey as before, moves without a programmed feed
// RGB(96, 96, 96), the others on the map scaled to the largest absolute change of the file.
TEST(FeedChangeColours, TheColouringScalesToTheLargestAbsoluteChangeOfTheFile) {
    const struct {
        int motion;
        int orgFeed;
        int optFeed;
    } blocks[] = {{1, 1000, 1000}, {1, 1000, 500}, {0, 1000, 300}, {1, 800, 1000}, {1, 0, 900},
                  {1, -50, 10},    {1, 400, 100},  {1, 600, 900},  {0, 0, 0},      {1, 1000, 1200}};
    std::string text;
    int number = 1;
    for (const auto& b : blocks)
        text += block(number, number * 3, b.motion, b.orgFeed, b.optFeed), ++number;
    const CutDataSet data = loadText(text);
    ASSERT_EQ(data.count, std::size(blocks));
    double extent = 0.0;
    for (const auto& b : blocks)
        if (b.motion != 0 && b.orgFeed > 0)
            extent = std::max(extent, std::fabs((b.optFeed - b.orgFeed) * 100.0 / b.orgFeed));
    ToolpathStyle style = chartStyle();
    style.mode = ToolpathColourMode::FeedChange;
    ToolpathColouring colouring(data, style);
    EXPECT_FLOAT_EQ(colouring.maximum(), static_cast<float>(extent));
    for (std::uint32_t i = 0; i < data.count; ++i) {
        const auto& b = blocks[i];
        std::uint32_t expected = 0;
        if (b.motion == 0)
            expected = kRapidColour;
        else if (b.orgFeed <= 0)
            expected = pixelOf(96, 96, 96);
        else
            expected = expectedColour((b.optFeed - b.orgFeed) * 100.0 / b.orgFeed / extent);
        EXPECT_EQ(colouring.colourOf(i), expected) << "record " << i;
    }
}

TEST(FeedChangeColours, AFileWithoutChangeIsGreyOnAScaleOfOnePercent) {
    std::string text;
    for (int k = 1; k <= 5; ++k)
        text += block(k, k, 1, 700, 700);
    const CutDataSet data = loadText(text);
    ToolpathStyle style = chartStyle();
    style.mode = ToolpathColourMode::FeedChange;
    ToolpathColouring colouring(data, style);
    EXPECT_EQ(colouring.maximum(), 1.0f);
    for (std::uint32_t i = 0; i < data.count; ++i)
        EXPECT_EQ(colouring.colourOf(i), pixelOf(190, 190, 190)) << i;
}

// The bar at the right edge: fastest at the top, grey in the middle, slowest at the bottom.
TEST(FeedChangeColours, TheColourBarRunsFromFastestThroughGreyToSlowest) {
    ensureGuiApplication();
    std::string text;
    for (int k = 1; k <= 20; ++k)
        text += "N" + std::to_string(k) + ")G01X0Y" + std::to_string(5 * k) + "Z0F1000(A1)F" +
                std::to_string(500 + 50 * k) + "\n";
    const CutDataSet data = loadText(text);
    const ToolpathModel model(data);
    ToolpathStyle style = chartStyle();
    style.mode = ToolpathColourMode::FeedChange;
    for (const auto& [w, h] : {std::pair{320, 240}, std::pair{200, 401}}) {
        SCOPED_TRACE(testing::Message() << w << "x" << h);
        const ToolpathFit fit(model.box(), ToolpathView(ToolpathViewKind::Top), w, h);
        QImage image(w, h, QImage::Format_RGB32);
        ToolpathPixels pixels;
        ToolpathRenderer(model, style).drawImage(image, fit, pixels);
        int fastest = -1;
        int grey = -1;
        int slowest = -1;
        for (int y = 0; y < h; ++y) {
            const std::uint32_t pixel = image.pixel(w - 12, y) | 0xFF000000u;
            if (pixel == kFastestColour && fastest < 0)
                fastest = y;
            if (pixel == kUnchangedColour)
                grey = y;
            if (pixel == kSlowestColour)
                slowest = y;
        }
        ASSERT_GE(fastest, 0);
        ASSERT_GE(slowest, 0);
        ASSERT_GE(grey, 0);
        EXPECT_LT(fastest, grey);
        EXPECT_LT(grey, slowest);
        EXPECT_NEAR(grey - fastest, slowest - grey, 2);
    }
}
