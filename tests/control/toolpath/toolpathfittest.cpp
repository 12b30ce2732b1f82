#include "toolpathtesting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

struct FlatCase {
    const char* name;
    std::string text;
    ToolpathView view;
    // The path's extent in the view's two axes, 0 where it has none.
    double width, height;
};

double extentOrOne(double extent) {
    return extent == 0 ? 1.0 : extent;
}

class ToolpathFlatFitCases : public ::testing::TestWithParam<FlatCase> {};

// An extent of no size counts as 1 mm: a point, a straight line or a flat part seen edge on is
// fitted as a box of 1 mm along that axis, not blown up without end.
TEST_P(ToolpathFlatFitCases, extentOfNoSizeCountsAsOneMillimetre) {
    const FlatCase& c = GetParam();
    const CutDataSet data = loadText(c.text);
    const ToolpathModel model(data);
    for (const auto& [w, h] : {std::pair{400, 300}, std::pair{120, 500}}) {
        const ToolpathFit fit(model.box(), c.view, w, h);
        const double m = std::round(0.05 * std::min(w, h));
        const double expected =
            std::min((w - 2 * m) / extentOrOne(c.width), (h - 2 * m) / extentOrOne(c.height));
        EXPECT_DOUBLE_EQ(fit.scale(), expected) << w << "x" << h;
        // The box's centre at the image's centre.
        const PathPoint low = model.box().low;
        const PathPoint high = model.box().high;
        EXPECT_NEAR(fit.px((low.x + high.x) / 2.0, (low.y + high.y) / 2.0, (low.z + high.z) / 2.0),
                    w / 2.0, 1e-9);
        EXPECT_NEAR(fit.py((low.x + high.x) / 2.0, (low.y + high.y) / 2.0, (low.z + high.z) / 2.0),
                    h / 2.0, 1e-9);
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, ToolpathFlatFitCases,
                         ::testing::Values(
                             // A point preset before the only block, which stays there.
                             FlatCase{"point", "G92X5Y5Z5\nN1)G01X5Y5Z5\n",
                                      ToolpathView(ToolpathViewKind::Iso), 0, 0},
                             FlatCase{"lineAlongXFromTheTop", "G92X0Y3Z1\nN1)G01X40Y3Z1\n",
                                      ToolpathView(ToolpathViewKind::Top), 40, 0},
                             FlatCase{"lineAlongXFromTheRight", "G92X0Y3Z1\nN1)G01X40Y3Z1\n",
                                      ToolpathView(ToolpathViewKind::Right), 0, 0},
                             FlatCase{"lineAlongZFromTheFront", "G92X2Y3Z0\nN1)G01X2Y3Z-25\n",
                                      ToolpathView(ToolpathViewKind::Front), 0, 25},
                             FlatCase{"flatPartFromTheFront", rectanglesText(),
                                      ToolpathView(ToolpathViewKind::Front), 90, 0},
                             FlatCase{"flatPartFromTheRight", rectanglesText(),
                                      ToolpathView(ToolpathViewKind::Right), 20, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

struct WheelCase {
    const char* name;
    ToolpathView view;
    double factor;
    ToolpathZoom before; // the zoom and pan the wheel starts from
};

class ToolpathWheelCases : public ::testing::TestWithParam<WheelCase> {};

// Zooming about a pixel keeps every model point that lies under it where it is, scales the rest
// about it, and scales the fit by the factor.
TEST_P(ToolpathWheelCases, zoomKeepsThePointUnderThePointer) {
    const WheelCase& c = GetParam();
    const CutDataSet data = loadText(helixText(2));
    const ToolpathModel model(data);
    const ToolpathFit fit(model.box(), c.view, 300, 200, c.before);
    const double points[][3] = {{10, 0, 0}, {-10, 0, 4}, {0, 10, 1}, {7, -7, 3}};
    for (const auto& p : points) {
        const double x = fit.px(p[0], p[1], p[2]);
        const double y = fit.py(p[0], p[1], p[2]);
        const ToolpathFit zoomed = fit.zoomedAbout(c.factor, x, y);
        EXPECT_NEAR(zoomed.scale(), fit.scale() * c.factor, 1e-9 * fit.scale());
        EXPECT_NEAR(zoomed.px(p[0], p[1], p[2]), x, 1e-9);
        EXPECT_NEAR(zoomed.py(p[0], p[1], p[2]), y, 1e-9);
        for (const auto& q : points) {
            EXPECT_NEAR(zoomed.px(q[0], q[1], q[2]) - x, (fit.px(q[0], q[1], q[2]) - x) * c.factor,
                        1e-9);
            EXPECT_NEAR(zoomed.py(q[0], q[1], q[2]) - y, (fit.py(q[0], q[1], q[2]) - y) * c.factor,
                        1e-9);
        }
        // The zoom kept by the fit gives the same mapping when the fit is made again.
        const ToolpathFit again(model.box(), c.view, 300, 200, zoomed.zoom());
        EXPECT_NEAR(again.px(p[0], p[1], p[2]), x, 1e-9);
        EXPECT_NEAR(again.py(p[0], p[1], p[2]), y, 1e-9);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Wheels, ToolpathWheelCases,
    ::testing::Values(
        WheelCase{"inFromTheFit", ToolpathView(ToolpathViewKind::Top), 1.25, {}},
        WheelCase{"outFromTheFit", ToolpathView(ToolpathViewKind::Iso), 0.8, {}},
        WheelCase{"inAfterAPan", ToolpathView(ToolpathViewKind::Front), 1.25, {1.0, 37.0, -12.5}},
        WheelCase{"inWhenZoomed", ToolpathView(30.0, -20.0), 2.0, {3.0, -60.0, 8.0}},
        WheelCase{"outWhenZoomed", ToolpathView(ToolpathViewKind::Iso), 0.5, {4.0, 15.0, 25.0}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
