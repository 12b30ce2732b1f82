// Where the chart lies on the page canvas: at its size and centred when it fits, scaled down
// to fit, centred, when it does not.
#include "print/chartplacement.h"

#include <QPageLayout>
#include <QPageSize>

#include <gtest/gtest.h>

namespace {

TEST(ChartPlacement, FittingChartsKeepTheirSizeAndLargerOnesAreScaledDownWhole) {
    // A4 landscape at 96 dpi, and the part 5 mm inside it.
    const QSize a4(1123, 793);
    const QRect inside(19, 19, 1085, 755);
    const struct {
        QSize chart;
        QSize canvas;
        QRect area;
        QRect placed;
    } cases[] = {
        // Fits the area: its own size, centred on the page, odd differences rounded down as
        // always.
        {{900, 600}, a4, inside, {111, 96, 900, 600}},
        {{1085, 755}, a4, inside, {19, 19, 1085, 755}},
        {{1123, 793}, a4, {{0, 0}, a4}, {0, 0, 1123, 793}},
        {{1, 1}, {2, 2}, {0, 0, 2, 2}, {0, 0, 1, 1}},
        // Fits the page but not the area: scaled down to the area, as a larger one is.
        {{1100, 700}, a4, inside, {19, 51, 1085, 690}},
        // A maximised window on A4 landscape: the width decides (1085 / 1600).
        {{1600, 1000}, a4, inside, {19, 57, 1085, 678}},
        // Taller than the area: the height decides.
        {{800, 1200}, a4, inside, {310, 19, 503, 755}},
        // An area off the page's centre: the chart is centred in the area.
        {{2000, 500}, a4, {40, 10, 1000, 700}, {40, 235, 1000, 250}},
        // Extreme aspect: never thinner than one pixel.
        {{16384, 1}, {100, 100}, {10, 10, 80, 80}, {10, 49, 80, 1}},
        // Nothing to place.
        {{0, 0}, a4, inside, {}},
        {{900, 600}, {0, 793}, inside, {}},
        {{900, 600}, a4, {}, {}},
    };
    for (const auto& c : cases) {
        const QRect placed = placeChartOnCanvas(c.chart, c.canvas, c.area);
        EXPECT_EQ(placed, c.placed) << c.chart.width() << "x" << c.chart.height() << " in "
                                    << c.area.width() << "x" << c.area.height();
        if (!placed.isEmpty() && placed.size() != c.chart) {
            EXPECT_TRUE(c.area.contains(placed));
        }
    }
}

// The printable area less 5 mm on each side, in canvas pixels of A4 landscape at 96 dpi, whatever
// mode the layout is in; a page the margins leave nothing of gives the whole canvas.
TEST(ChartPlacement, PrintableAreaKeepsFiveMillimetresInsideTheMargins) {
    const QSize a4(1123, 793);
    const QPageSize tiny(QSizeF(8, 8), QPageSize::Millimeter);
    QPageLayout fullPage(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                         QMarginsF(10, 10, 10, 10));
    fullPage.setMode(QPageLayout::FullPageMode);
    const struct {
        const char* name;
        QPageLayout layout;
        QSize canvas;
        QRect area;
    } cases[] = {
        {"NoMargins",
         QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF()),
         a4,
         {19, 19, 1085, 755}},
        {"TenPoints",
         QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10)),
         a4,
         {33, 33, 1057, 727}},
        {"FullPageMode", fullPage, a4, {33, 33, 1057, 727}},
        {"LeftMarginOnly",
         QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(72, 0, 0, 0)),
         a4,
         {115, 19, 989, 755}},
        {"TooSmall",
         QPageLayout(tiny, QPageLayout::Portrait, QMarginsF()),
         {30, 30},
         {0, 0, 30, 30}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(printableArea(c.layout, c.canvas), c.area) << c.name;
}

TEST(ChartPlacement, CanvasRectanglesScaleToThePrintersPage) {
    const struct {
        QRect rect;
        QSize canvas;
        QSizeF page;
        QRect expected;
    } cases[] = {
        {{111, 96, 900, 600}, {1123, 793}, {1123, 793}, {111, 96, 900, 600}},
        // 1200 dpi printer pixels of A4 landscape, 12.5 per canvas pixel.
        {{0, 45, 1123, 702}, {1123, 793}, {14037.5, 9912.5}, {0, 563, 14038, 8775}},
        {{10, 10, 10, 10}, {0, 0}, {100, 100}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(canvasToPage(c.rect, c.canvas, c.page), c.expected);
}

} // namespace
