// DrawChart, the chart for a host's file, clipboard or printer: pixels on an image of the chart's
// size, vector drawing anywhere else, never the control's own state changed.

#include "curvexhostsupport.h"

#include "surfaceregistry.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

using namespace curvextest;
using component::InvokeKind;
using component::InvokeResult;

namespace {

constexpr QRgb kBackground = 0xFF123456;

template <class Test> int countPixels(const QImage& image, Test test) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += test(image.pixel(x, y)) ? 1 : 0;
    return count;
}

int countPixels(const QImage& image, QRgb colour) {
    return countPixels(image, [colour](QRgb pixel) { return pixel == colour; });
}

class CurvexDrawChartTest : public CurvexHostTest {
protected:
    QVariant drawChart(QPaintDevice& device, QSize chart, const QRect& target) {
        const component::SurfaceRegistry::Entry surface(&device);
        return call(curvex::DispDrawChart,
                    {surface.handle(), chart.width(), chart.height(), target.left(), target.top(),
                     target.width(), target.height()});
    }
};

TEST_F(CurvexDrawChartTest, AnImageOfTheChartsSizeGetsTheScreensPixelsInPlace) {
    ASSERT_TRUE(loadSample());
    widget()->resize(600, 400);
    render();
    const QImage shown = cachedChart(hosted->control(), QSize(600, 400));
    for (const QSize asked : {QSize(0, 0), QSize(600, 400)}) {
        QImage target(700, 500, QImage::Format_RGB32);
        target.fill(kBackground);
        EXPECT_TRUE(drawChart(target, asked, QRect(30, 40, 600, 400)).toBool());
        EXPECT_EQ(target.copy(30, 40, 600, 400), shown);
        EXPECT_EQ(countPixels(target, kBackground), 700 * 500 - 600 * 400);
    }
}

TEST_F(CurvexDrawChartTest, OtherSizesAreDrawnWithoutChangingTheShownChart) {
    ASSERT_TRUE(loadSample());
    widget()->resize(600, 400);
    setDistArea(10.0f, 90.0f);
    render();
    const QImage before = cachedChart(hosted->control(), QSize(600, 400));

    // Laid out at 1200 x 800 and scaled to half: a vector drawing on the image.
    QImage half(600, 400, QImage::Format_RGB32);
    half.fill(Qt::white);
    EXPECT_TRUE(drawChart(half, QSize(1200, 800), QRect(0, 0, 600, 400)).toBool());
    EXPECT_GT(countPixels(half, [](QRgb c) { return qGray(c) < 100; }), 500) << "axes and labels";
    EXPECT_GT(countPixels(half, [](QRgb c) { return qGreen(c) > 200 && qRed(c) < 100; }), 500)
        << "the first tool's curve";

    QBuffer svg;
    svg.open(QIODevice::WriteOnly);
    {
        QSvgGenerator generator;
        generator.setOutputDevice(&svg);
        generator.setSize(QSize(800, 500));
        EXPECT_TRUE(drawChart(generator, QSize(800, 500), QRect(0, 0, 800, 500)).toBool());
    }
    EXPECT_TRUE(svg.data().contains(">MAX: 0.998</text>")) << svg.data().left(2000).toStdString();
    EXPECT_FALSE(svg.data().contains("<image"));

    EXPECT_EQ(distArea(), std::make_pair(10.0f, 90.0f));
    render();
    EXPECT_EQ(cachedChart(hosted->control(), QSize(600, 400)), before)
        << "a chart for the host changed the control's layout";
}

TEST_F(CurvexDrawChartTest, BadRequestsDrawNothing) {
    QImage target(100, 100, QImage::Format_RGB32);
    target.fill(kBackground);
    const component::SurfaceRegistry::Entry surface(&target);
    const int h = surface.handle();
    struct Case {
        QVariantList args;
        InvokeResult status;
    };
    const Case cases[] = {
        {{987654, 0, 0, 0, 0, 100, 100}, InvokeResult::Ok},
        {{h, 0, 5, 0, 0, 100, 100}, InvokeResult::Ok},
        {{h, -1, 5, 0, 0, 100, 100}, InvokeResult::Ok},
        {{h, 16385, 100, 0, 0, 100, 100}, InvokeResult::Ok},
        {{h, 100, 100, 0, 0, 0, 100}, InvokeResult::Ok},
        {{h, 100, 100, 0, 0, 100, -100}, InvokeResult::Ok},
        {{h, 100, 100, 0, 0, 100}, InvokeResult::BadParamCount},
        {{h, QStringLiteral("wide"), 100, 0, 0, 100, 100}, InvokeResult::TypeMismatch},
    };
    for (const Case& c : cases) {
        QVariantList args = c.args;
        QVariant result = true;
        EXPECT_EQ(
            hosted->control().invoke(curvex::DispDrawChart, InvokeKind::Method, args, &result),
            c.status);
        if (c.status == InvokeResult::Ok) {
            EXPECT_FALSE(result.toBool());
        }
    }
    EXPECT_EQ(countPixels(target, kBackground), 100 * 100);
}

} // namespace

namespace {

// Files, the clipboard and the printer get the chart as shown: a compare chart with its legend.
TEST_F(CurvexDrawChartTest, ACompareChartWithItsLegendIsDrawnAsShown) {
    ASSERT_TRUE(loadSample());
    widget()->resize(600, 400);
    const QRgb grey = qRgb(128, 128, 128);
    QImage plain(600, 400, QImage::Format_RGB32);
    EXPECT_TRUE(drawChart(plain, QSize(600, 400), QRect(0, 0, 600, 400)).toBool());
    ASSERT_TRUE(call(curvex::DispSetCompareMode, {2}).toBool());
    ASSERT_TRUE(call(curvex::DispSetChartOption, {1, 1}).toBool());
    render();
    QImage compared(600, 400, QImage::Format_RGB32);
    EXPECT_TRUE(drawChart(compared, QSize(600, 400), QRect(0, 0, 600, 400)).toBool());
    EXPECT_GT(countPixels(compared, grey), countPixels(plain, grey) + 100);
    EXPECT_EQ(compared, cachedChart(hosted->control(), QSize(600, 400)));
}

} // namespace
