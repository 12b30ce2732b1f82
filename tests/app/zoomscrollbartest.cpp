#include "forms/zoomscrollbar.h"
#include "apptestsupport.h"
#include "recordingviewer.h"

#include <QScrollBar>

#include <gtest/gtest.h>

namespace {

class ZoomScrollBarTest : public ::testing::Test {
protected:
    ZoomScrollBarTest() {
        QObject::connect(&bar, &QScrollBar::valueChanged, [this] { zoom.change(); });
        bar.setRange(0, 32767);
        bar.setSingleStep(1);
        bar.setPageStep(1);
        zoom.takeCeilingFromBar();
    }

    // The last SetDistArea sent to the control.
    std::pair<float, float> lastArea() const {
        const auto sent = viewer.callsOf(curvex::DispSetDistArea);
        EXPECT_FALSE(sent.empty());
        return sent.empty()
                   ? std::pair{-1.0f, -1.0f}
                   : std::pair{sent.back().args.at(0).toFloat(), sent.back().args.at(1).toFloat()};
    }

    QApplication& application = apptest::application();
    RecordingViewer viewer;
    CurvexProxy proxy{viewer};
    QScrollBar bar{Qt::Horizontal};
    ZoomScrollBar zoom{bar, proxy};
};

TEST_F(ZoomScrollBarTest, ReDrawedConfiguresStepsMaximumAndValue) {
    const struct {
        float lower, upper, distMax;
        int smallStep, largeStep, maximum, value;
    } cases[] = {
        {25, 75, 1000, 6, 401, 500, 250},     {40, 60, 20000, 41, 3201, 16000, 8000},
        {0, 10, 1000000, 37, 2913, 32767, 0}, {90, 100, 1000000, 37, 2913, 32767, 32767},
        {0, 100, 1000, 11, 801, 0, 0},        {0, 100, 0, 1, 1, 0, 0},
        {0, 0, 1000, 1, 1, 1000, 0},
    };
    for (const auto& c : cases) {
        zoom.reDrawed(c.lower, c.upper, c.distMax);
        const auto where = ::testing::Message()
                           << "ReDrawed(" << c.lower << ", " << c.upper << ", " << c.distMax << ")";
        EXPECT_EQ(bar.singleStep(), c.smallStep) << where;
        EXPECT_EQ(bar.pageStep(), c.largeStep) << where;
        EXPECT_EQ(bar.maximum(), c.maximum) << where;
        EXPECT_EQ(bar.minimum(), 0) << where;
        EXPECT_EQ(bar.value(), c.value) << where;
        EXPECT_TRUE(bar.isEnabled()) << where;
        EXPECT_FLOAT_EQ(zoom.shownWidth(), c.upper - c.lower) << where;
    }
    // Every value and maximum set above raised a change notification; none reached the control.
    EXPECT_TRUE(viewer.calls.empty());
}

TEST_F(ZoomScrollBarTest, ValueMovesTheShownPartOfTheSameWidth) {
    zoom.reDrawed(25, 75, 1000);
    const struct {
        int value;
        float lower, upper;
    } cases[] = {{0, 0, 50}, {375, 50, 100}, {500, 50, 100}, {100, 100.0f / 500 / 150 * 10000, 0}};
    for (const auto& c : cases) {
        viewer.calls.clear();
        bar.setValue(c.value);
        const auto [lower, upper] = lastArea();
        EXPECT_FLOAT_EQ(lower, c.lower) << c.value;
        EXPECT_FLOAT_EQ(upper, c.upper == 0 ? c.lower + 50 : c.upper) << c.value;
        ASSERT_EQ(viewer.calls.size(), 3u) << c.value;
        EXPECT_EQ(viewer.calls[0].dispid, curvex::DispViewRenewal);
        EXPECT_TRUE(viewer.calls[0].args.at(0).toBool());
        EXPECT_EQ(viewer.calls[2].dispid, curvex::DispRefresh);
    }
}

TEST_F(ZoomScrollBarTest, BeforeTheFirstReDrawedTheValueGivesAnEmptyPart) {
    bar.setValue(16000);
    const auto [lower, upper] = lastArea();
    EXPECT_FLOAT_EQ(lower, 100.0f * 16000 / 32767);
    EXPECT_FLOAT_EQ(upper, lower);
}

TEST_F(ZoomScrollBarTest, RenderDuringAScrollStepLeavesTheThumbWhereTheUserPutIt) {
    zoom.reDrawed(25, 75, 1000);
    int nestedRenders = 0;
    viewer.onRefresh = [&] {
        ++nestedRenders;
        zoom.reDrawed(viewer.lower, viewer.upper, 1000);
    };
    bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(nestedRenders, 1);
    EXPECT_EQ(bar.value(), 256);
    EXPECT_EQ(bar.maximum(), 500);
    EXPECT_EQ(viewer.callsOf(curvex::DispSetDistArea).size(), 1u);

    // A render that did not come from the scroll bar moves the thumb to the control's part.
    zoom.reDrawed(viewer.lower, viewer.upper, 1000);
    EXPECT_EQ(bar.value(), 341);
}

TEST_F(ZoomScrollBarTest, ThumbDragMovesThePartOnlyWhenReleased) {
    zoom.reDrawed(25, 75, 1000);
    bar.setSliderDown(true);
    bar.setSliderPosition(100);
    bar.setSliderPosition(300);
    EXPECT_TRUE(viewer.calls.empty());
    bar.setSliderDown(false);
    ASSERT_EQ(viewer.callsOf(curvex::DispSetDistArea).size(), 1u);
    const auto [lower, upper] = lastArea();
    EXPECT_FLOAT_EQ(lower, 40.0f);
    EXPECT_FLOAT_EQ(upper, 90.0f);
}

} // namespace
