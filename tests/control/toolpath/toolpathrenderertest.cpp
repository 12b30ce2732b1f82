#include "toolpathrenderer.h"
#include "toolpathtesting.h"
#include "viridis.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// The bar's labels are text, which needs a GUI application on the offscreen platform.
void ensureGuiApplication() {
    static int argc = 1;
    static char name[] = "toolpathtests";
    static char* argv[] = {name, nullptr};
    static const std::unique_ptr<QGuiApplication> application =
        QGuiApplication::instance() ? nullptr : std::make_unique<QGuiApplication>(argc, argv);
}

// The viridis levels of one column of the image, top to bottom, where its pixels are on the map.
std::vector<int> levelsDown(const QImage& image, int x) {
    std::map<QRgb, int> levels;
    for (int level = 0; level < 256; ++level)
        levels[ViridisColour(level) | 0xFF000000u] = level;
    std::vector<int> down;
    for (int y = 0; y < image.height(); ++y) {
        const auto found = levels.find(image.pixel(x, y) | 0xFF000000u);
        if (found != levels.end())
            down.push_back(found->second);
    }
    return down;
}

// A straight cut up the middle of the top view, its removal growing: the bar at the right edge
// runs from the largest value at the top down to 0, as the map goes.
TEST(ToolpathRenderer, colourBarHasTheLargestValueAtTheTop) {
    ensureGuiApplication();
    std::string text;
    for (int k = 1; k <= 20; ++k)
        text += "N" + std::to_string(k) + ")G01X0Y" + std::to_string(5 * k) + "Z0F600(A" +
                std::to_string(k) + ")F900\n";
    const CutDataSet data = loadText(text);
    const ToolpathModel model(data);
    for (const ToolpathColourMode mode :
         {ToolpathColourMode::Removal, ToolpathColourMode::RateOrg, ToolpathColourMode::RateOpt}) {
        ToolpathStyle style = chartStyle();
        style.mode = mode;
        for (const auto& [w, h] : {std::pair{320, 240}, std::pair{200, 401}}) {
            const ToolpathFit fit(model.box(), ToolpathView(ToolpathViewKind::Top), w, h);
            QImage image(w, h, QImage::Format_RGB32);
            ToolpathPixels pixels;
            ToolpathRenderer(model, style).drawImage(image, fit, pixels);
            const std::vector<int> levels = levelsDown(image, w - 12);
            ASSERT_GE(levels.size(), 100u) << w << "x" << h;
            EXPECT_EQ(levels.front(), 255) << w << "x" << h;
            EXPECT_EQ(levels.back(), 0) << w << "x" << h;
            EXPECT_TRUE(std::is_sorted(levels.rbegin(), levels.rend())) << w << "x" << h;
        }
    }
}

// Every line of rectanglesText() twice: each second one a segment of no length, left out.
std::string withRepeatedLines(const std::string& text) {
    std::string repeated;
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t end = text.find('\n', from) + 1;
        const std::string line = text.substr(from, end - from);
        repeated += line;
        if (line.front() == 'N')
            repeated += line;
        from = end;
    }
    return repeated;
}

int inkOf(const QImage& image) {
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ink += (image.pixel(x, y) & 0xFFFFFFu) != 0xFFFFFFu;
    return ink;
}

// The path drawn as pixels and as vector drawing (into an image), at 320 x 240.
std::pair<QImage, QImage> picturesOf(const ToolpathModel& model, const ToolpathStyle& style,
                                     ToolpathViewKind view) {
    const ToolpathFit fit(model.box(), ToolpathView(view), 320, 240);
    const ToolpathRenderer renderer(model, style);
    QImage pixels(320, 240, QImage::Format_RGB32);
    ToolpathPixels projected;
    renderer.drawImage(pixels, fit, projected);
    QImage vector(320, 240, QImage::Format_RGB32);
    QPainter painter(&vector);
    renderer.paint(painter, fit);
    painter.end();
    return {pixels, vector};
}

// Segments left out are for the host to count beside the picture: a path with some draws as the
// same path without them, and the top left corner, where the count was written, stays background.
TEST(ToolpathRenderer, picturesDoNotSayHowManySegmentsAreLeftOut) {
    ensureGuiApplication();
    const CutDataSet whole = loadText(rectanglesText());
    const CutDataSet repeated = loadText(withRepeatedLines(rectanglesText()));
    const ToolpathModel wholeModel(whole);
    const ToolpathModel repeatedModel(repeated);
    ASSERT_EQ(wholeModel.leftOut(), 0u);
    ASSERT_EQ(repeatedModel.leftOut(), whole.count);
    for (const ToolpathColourMode mode :
         {ToolpathColourMode::Chart, ToolpathColourMode::Removal, ToolpathColourMode::FeedChange}) {
        ToolpathStyle style = chartStyle();
        style.mode = mode;
        for (const ToolpathViewKind view : {ToolpathViewKind::Top, ToolpathViewKind::Iso}) {
            const auto what = "mode " + std::to_string(static_cast<int>(mode)) + " view " +
                              std::to_string(static_cast<int>(view));
            const auto [pixels, vector] = picturesOf(repeatedModel, style, view);
            const auto [wholePixels, wholeVector] = picturesOf(wholeModel, style, view);
            EXPECT_GT(inkOf(wholePixels), 100) << what;
            EXPECT_EQ(pixels, wholePixels) << what;
            // A segment left out ends a polyline: slanting lines join a little differently.
            if (view == ToolpathViewKind::Top) {
                EXPECT_EQ(vector, wholeVector) << what;
            }
            // Where the count used to be written, the top left corner, is background.
            EXPECT_EQ(inkOf(pixels.copy(0, 0, 160, 24)), 0) << what;
            EXPECT_EQ(inkOf(vector.copy(0, 0, 160, 24)), 0) << what;
        }
    }
}

} // namespace
