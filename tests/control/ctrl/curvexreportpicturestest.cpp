// DrawReportChart and DrawColouredReportToolpath, the pictures of a report's section on where the
// optimisation acted: each equals what the host would see after switching the view on itself,
// and the view the host shows stays as it is.

#include "curvexhostsupport.h"

#include "surfaceregistry.h"

#include <QImage>

using namespace curvextest;

namespace {

constexpr QSize kChart(640, 360);
constexpr QSize kPath(300, 200);

class CurvexReportPicturesTest : public CurvexHostTest {
protected:
    // Draws through `dispid` with (surface, width, height, extra...) into a white image.
    QImage drawn(int dispid, QSize size, QVariantList extra, bool* ok = nullptr) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        const component::SurfaceRegistry::Entry surface(&image);
        QVariantList args{surface.handle(), size.width(), size.height()};
        args.append(extra);
        const bool drawnOk = call(dispid, args).toBool();
        if (ok != nullptr)
            *ok = drawnOk;
        return image;
    }
    // The chart as DrawChart gives it at kChart.
    QImage shownChart() {
        return drawn(curvex::DispDrawChart, kChart, {0, 0, kChart.width(), kChart.height()});
    }
    bool legend() {
        return call(curvex::DispGetChartOption, {static_cast<int>(curvex::ChartOption::Legend)})
            .toBool();
    }
};

// In every compare mode the report's chart is the chart the host gets after choosing that mode
// and the legend; the host's mode and legend stay off, also over a narrowed range.
TEST_F(CurvexReportPicturesTest, TheReportChartIsTheShownRangeInTheModeWithItsLegend) {
    ASSERT_TRUE(loadSample());
    for (const auto& [lower, upper] : {std::pair{0.0f, 100.0f}, std::pair{30.0f, 55.0f}}) {
        setDistArea(lower, upper);
        for (int mode = 0; mode <= 3; ++mode) {
            ASSERT_TRUE(call(curvex::DispSetCompareMode, {mode}).toBool());
            ASSERT_TRUE(
                call(curvex::DispSetChartOption, {static_cast<int>(curvex::ChartOption::Legend), 1})
                    .toBool());
            const QImage expected = shownChart();
            ASSERT_TRUE(call(curvex::DispSetCompareMode, {0}).toBool());
            ASSERT_TRUE(
                call(curvex::DispSetChartOption, {static_cast<int>(curvex::ChartOption::Legend), 0})
                    .toBool());
            const QImage before = shownChart();
            bool ok = false;
            const QImage report = drawn(curvex::DispDrawReportChart, kChart, {mode}, &ok);
            EXPECT_TRUE(ok) << "mode " << mode;
            EXPECT_EQ(report, expected) << "mode " << mode << " range " << lower;
            EXPECT_EQ(call(curvex::DispGetCompareMode).toInt(), 0) << "mode " << mode;
            EXPECT_FALSE(legend()) << "mode " << mode;
            EXPECT_EQ(shownChart(), before) << "mode " << mode;
        }
    }
}

// In every colouring the report's toolpath is the iso view fitted that the host gets after
// choosing the iso view and that colouring; the host's view, zoom and colouring stay.
TEST_F(CurvexReportPicturesTest, TheColouredToolpathIsTheFittedIsoViewInTheColouring) {
    ASSERT_TRUE(loadSample());
    setDistArea(20.0f, 70.0f);
    for (int colours = 0; colours <= 4; ++colours) {
        ASSERT_TRUE(call(curvex::DispSetToolpathView, {3}).toBool());
        ASSERT_TRUE(call(curvex::DispSetToolpathColour, {colours}).toBool());
        const QImage expected = drawn(curvex::DispDrawToolpath, kPath, {});
        ASSERT_TRUE(call(curvex::DispSetToolpathView, {0}).toBool());
        ASSERT_TRUE(call(curvex::DispSetToolpathColour, {colours == 1 ? 2 : 1}).toBool());
        drawn(curvex::DispDrawToolpath, kPath, {}); // a zoom is about a point of the last picture
        ASSERT_TRUE(call(curvex::DispMoveToolpath, {2.0f, 150.0f, 100.0f, 7.0f, -5.0f}).toBool());
        const QImage shown = drawn(curvex::DispDrawToolpath, kPath, {});
        bool ok = false;
        const QImage report = drawn(curvex::DispDrawColouredReportToolpath, kPath, {colours}, &ok);
        EXPECT_TRUE(ok) << "colouring " << colours;
        EXPECT_EQ(report, expected) << "colouring " << colours;
        EXPECT_EQ(drawn(curvex::DispDrawToolpath, kPath, {}), shown) << "colouring " << colours;
    }
}

// A mode or colouring beyond the named ones, a side out of range or an unknown surface: FALSE,
// nothing drawn.
TEST_F(CurvexReportPicturesTest, BadArgumentsAnswerFalse) {
    ASSERT_TRUE(loadSample());
    const struct {
        int dispid;
        QSize size;
        int way;
    } cases[] = {
        {curvex::DispDrawReportChart, kChart, 4},
        {curvex::DispDrawReportChart, kChart, -1},
        {curvex::DispDrawReportChart, QSize(0, 200), 3},
        {curvex::DispDrawColouredReportToolpath, kPath, 5},
        {curvex::DispDrawColouredReportToolpath, kPath, -1},
        {curvex::DispDrawColouredReportToolpath, QSize(300, 0), 4},
    };
    for (const auto& c : cases) {
        QImage image(kPath, QImage::Format_RGB32);
        image.fill(Qt::white);
        const QImage white = image;
        const component::SurfaceRegistry::Entry surface(&image);
        EXPECT_FALSE(
            call(c.dispid, {surface.handle(), c.size.width(), c.size.height(), c.way}).toBool())
            << c.dispid << " " << c.way;
        EXPECT_EQ(image, white) << c.dispid << " " << c.way;
        EXPECT_FALSE(call(c.dispid, {987654, 300, 200, 3}).toBool()) << c.dispid;
    }
}

} // namespace
