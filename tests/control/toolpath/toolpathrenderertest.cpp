#include "toolpathrenderer.h"
#include "toolpathpicture.h"
#include "toolpathtesting.h"
#include "viridis.h"

#include <QPainter>
#include <gtest/gtest.h>
#include <utility>

#include <QGuiApplication>
#include <QImage>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <string>
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
// runs from the largest value at the top down to 0, as the map goes, over half the height.
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
            ASSERT_EQ(levels.size(), static_cast<std::size_t>(h / 2)) << w << "x" << h;
            EXPECT_EQ(levels.front(), 255) << w << "x" << h;
            EXPECT_EQ(levels.back(), 0) << w << "x" << h;
            EXPECT_TRUE(std::is_sorted(levels.rbegin(), levels.rend())) << w << "x" << h;
        }
    }
}

// The colours a 3x3 neighbourhood of the point's pixel shows.
std::vector<QRgb> coloursAround(const QImage& image, const ToolpathFit& fit, const PathPoint& at) {
    const int x = static_cast<int>(std::floor(fit.px(at.x, at.y, at.z)));
    const int y = static_cast<int>(std::floor(fit.py(at.x, at.y, at.z)));
    std::vector<QRgb> colours;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            colours.push_back(image.pixel(x + dx, y + dy) | 0xFF000000u);
    return colours;
}

struct VectorColourCase {
    PathPoint at;
    QRgb colour;
    QRgb otherTool;
};

// Drawn as vector lines, each tool's rectangle keeps its own colour: a run of one colour ends
// where the tool changes without the path breaking (on the jump between the rectangles).
TEST(ToolpathRenderer, vectorRunsChangeColourWithTheTool) {
    ensureGuiApplication();
    const CutDataSet data = loadText(rectanglesText());
    const ToolpathModel model(data);
    const ToolpathFit fit(model.box(), ToolpathView(ToolpathViewKind::Top), 400, 300);
    QImage image(400, 300, QImage::Format_RGB32);
    QPainter painter(&image);
    ToolpathRenderer(model, chartStyle()).paint(painter, fit);
    painter.end();
    const QRgb green = 0xFF00FF00u;
    const QRgb blue = 0xFF0000FFu;
    const VectorColourCase cases[] = {{{20, 20, 0}, green, blue},
                                      {{40, 10, 0}, green, blue},
                                      {{70, 20, 0}, blue, green},
                                      {{90, 10, 0}, blue, green},
                                      {{45, 0, 0}, blue, green}};
    for (const VectorColourCase& c : cases) {
        const std::vector<QRgb> around = coloursAround(image, fit, c.at);
        EXPECT_NE(std::count(around.begin(), around.end(), c.colour), 0) << c.at.x << "," << c.at.y;
        EXPECT_EQ(std::count(around.begin(), around.end(), c.otherTool), 0)
            << c.at.x << "," << c.at.y;
    }
}

struct RenderCase {
    QImage::Format format;
    int width;
    bool rastered;
};

// An image of 32 bits a pixel and the fit's size takes the raster of the pixels (a draft here,
// every eighth segment); any other device is painted on segment by segment.
TEST(ToolpathRenderer, renderRastersOnlyIntoImagesOfTheFitsSizeAndDepth) {
    ensureGuiApplication();
    const CutDataSet data = loadText(helixText(3));
    const ToolpathModel model(data);
    const ToolpathRenderer renderer(model, chartStyle());
    const ToolpathFit fit(model.box(), ToolpathView(ToolpathViewKind::Iso), 240, 180);
    const RenderCase cases[] = {{QImage::Format_RGB32, 240, true},
                                {QImage::Format_ARGB32, 240, true},
                                {QImage::Format_RGB16, 240, false},
                                {QImage::Format_RGB32, 241, false}};
    for (const RenderCase& c : cases) {
        QImage rendered(c.width, 180, c.format);
        rendered.fill(Qt::white);
        ToolpathPixels pixels;
        ASSERT_TRUE(RenderToolpath(rendered, renderer, fit, pixels, 8));
        QImage expected(c.width, 180, c.format);
        expected.fill(Qt::white);
        if (c.rastered) {
            ToolpathPixels own;
            renderer.drawImage(expected, fit, own, 8);
        } else {
            QPainter painter(&expected);
            renderer.paint(painter, fit);
        }
        EXPECT_EQ(rendered, expected) << c.format << " " << c.width;
    }
}

// A rapid move in short blocks, drawn as vector lines, stays dashed along its whole length: its
// blocks are one dashed line, not each a line of its own that starts with a dash.
TEST(ToolpathRenderer, rapidMovesOfShortBlocksStayDashed) {
    ensureGuiApplication();
    std::string text = "N1)G01X0Y0Z0F600(A1)F900\n";
    for (int k = 1; k <= 120; ++k)
        text += "N" + std::to_string(k + 1) + ")G00X" + std::to_string(k * 0.5) + "Y0Z0\n";
    text += "N200)G01X60Y20Z0F600(A1)F900\n";
    const CutDataSet data = loadText(text);
    const ToolpathModel model(data);
    const ToolpathFit fit(model.box(), ToolpathView(ToolpathViewKind::Top), 400, 300);
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    ToolpathRenderer(model, chartStyle()).paint(painter, fit);
    painter.end();
    const int y = static_cast<int>(std::floor(fit.py(0, 0, 0)));
    int gaps = 0;
    int dashes = 0;
    for (int x = static_cast<int>(fit.px(10, 0, 0)); x < static_cast<int>(fit.px(50, 0, 0)); ++x) {
        const QRgb pixel = image.pixel(x, y) | 0xFF000000u;
        gaps += pixel == 0xFFFFFFFFu;
        dashes += pixel != 0xFFFFFFFFu;
    }
    EXPECT_GT(gaps, dashes / 2) << gaps << " gaps, " << dashes << " dashes";
}

// The viridis bar takes half the height: on the smallest pictures it has one row or none, and
// its top row is the top of the map.
TEST(ToolpathRenderer, colourBarOfTheSmallestPictures) {
    ensureGuiApplication();
    const CutDataSet data = loadText(helixText(1));
    const ToolpathModel model(data);
    ToolpathStyle style = chartStyle();
    style.mode = ToolpathColourMode::Removal;
    for (const int height : {1, 2, 3, 4, 5}) {
        const ToolpathFit fit(model.box(), ToolpathView(ToolpathViewKind::Top), 60, height);
        QImage image(60, height, QImage::Format_RGB32);
        ToolpathPixels pixels;
        ToolpathRenderer(model, style).drawImage(image, fit, pixels);
        if (height / 2 > 0) {
            EXPECT_EQ(image.pixel(60 - 16, (height - height / 2) / 2) | 0xFF000000u,
                      ViridisColour(255) | 0xFF000000u)
                << height;
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
