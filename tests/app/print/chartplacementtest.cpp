// Where the chart lies on the page canvas: at its size and centred when it fits, scaled down
// to fit, centred, when it does not.
#include "print/chartplacement.h"

#include <gtest/gtest.h>

namespace {

TEST(ChartPlacement, FittingChartsKeepTheirSizeAndLargerOnesAreScaledDownWhole) {
    const struct {
        QSize chart;
        QSize canvas;
        QRect placed;
    } cases[] = {
        // Fits: its own size, centred, odd differences rounded down as always.
        {{900, 600}, {1123, 793}, {111, 96, 900, 600}},
        {{1123, 793}, {1123, 793}, {0, 0, 1123, 793}},
        {{1, 1}, {2, 2}, {0, 0, 1, 1}},
        // A maximised window on A4 landscape: the width decides (1123 / 1600).
        {{1600, 1000}, {1123, 793}, {0, 45, 1123, 702}},
        // Taller than the page: the height decides.
        {{800, 1200}, {1123, 793}, {297, 0, 529, 793}},
        // Larger along one side only.
        {{1200, 300}, {1123, 793}, {0, 256, 1123, 281}},
        // Extreme aspect: never thinner than one pixel.
        {{16384, 1}, {100, 100}, {0, 49, 100, 1}},
        // Nothing to place.
        {{0, 0}, {1123, 793}, {}},
        {{900, 600}, {0, 793}, {}},
    };
    for (const auto& c : cases) {
        const QRect placed = placeChartOnCanvas(c.chart, c.canvas);
        EXPECT_EQ(placed, c.placed) << c.chart.width() << "x" << c.chart.height() << " on "
                                    << c.canvas.width() << "x" << c.canvas.height();
        if (!placed.isEmpty()) {
            EXPECT_TRUE(QRect(QPoint(), c.canvas).contains(placed));
        }
    }
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
