#include "forms/toolpathcanvas.h"
#include "apptestsupport.h"
#include "recordingviewer.h"
#include "toolpathproxy.h"

#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <vector>

// The toolpath canvas asks the control for drafts while the view moves and for the whole path
// once it rests; a control without the draft draws the whole path all the time.

namespace {

class ToolpathCanvasTest : public ::testing::Test {
protected:
    ToolpathCanvasTest() {
        canvas.resize(320, 240);
        canvas.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&canvas));
    }

    // The drawing members asked for by the next paint, in order.
    std::vector<int> paintedWith() {
        viewer.calls.clear();
        canvas.repaint();
        std::vector<int> drawn;
        for (const RecordingViewer::Call& call : viewer.calls)
            if (call.dispid == curvex::DispDrawToolpath ||
                call.dispid == curvex::DispDrawToolpathDraft)
                drawn.push_back(call.dispid);
        return drawn;
    }

    void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(at), canvas.mapToGlobal(QPointF(at)), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(&canvas, &event);
    }

    void drag(Qt::MouseButton button) {
        mouse(QEvent::MouseButtonPress, {100, 100}, button, button);
        mouse(QEvent::MouseMove, {110, 100}, Qt::NoButton, button);
        mouse(QEvent::MouseMove, {130, 110}, Qt::NoButton, button);
    }

    void wheel() {
        QWheelEvent event(QPointF(160, 120), canvas.mapToGlobal(QPointF(160, 120)), QPoint(),
                          QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&canvas, &event);
    }

    QApplication& application = apptest::application();
    RecordingViewer viewer;
    CurvexProxy proxy{viewer};
    ToolpathProxy toolpath{proxy};
    ToolpathCanvas canvas{toolpath, nullptr};
};

const std::vector<int> kDraft{curvex::DispDrawToolpathDraft};
const std::vector<int> kWhole{curvex::DispDrawToolpath};

TEST_F(ToolpathCanvasTest, ADragDrawsDraftsAndItsReleaseTheWholePath) {
    EXPECT_EQ(paintedWith(), kWhole);
    for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        drag(button);
        EXPECT_TRUE(canvas.drawsDraft()) << button;
        EXPECT_EQ(paintedWith(), kDraft) << button;
        EXPECT_EQ(viewer.callsOf(curvex::DispPickToolpath).size(), 0u);
        mouse(QEvent::MouseButtonRelease, {130, 110}, button, Qt::NoButton);
        EXPECT_EQ(paintedWith(), kWhole) << button;
    }
    // A click without a drag picks and draws the whole path.
    mouse(QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, {100, 100}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(viewer.callsOf(curvex::DispPickToolpath).size(), 1u);
    EXPECT_EQ(paintedWith(), kWhole);
}

// A wheel step draws drafts until the wheel rests, then the whole path without another event.
TEST_F(ToolpathCanvasTest, AWheelStepDrawsADraftUntilTheViewRests) {
    wheel();
    EXPECT_EQ(paintedWith(), kDraft);
    viewer.calls.clear();
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return !viewer.callsOf(curvex::DispDrawToolpath).empty(); }, 2000));
    EXPECT_FALSE(canvas.drawsDraft());
    EXPECT_EQ(paintedWith(), kWhole);
}

// A control without the draft member: the proxy asks for it, then draws the whole path.
TEST_F(ToolpathCanvasTest, AControlWithoutTheDraftDrawsTheWholePath) {
    viewer.missing.insert(curvex::DispDrawToolpathDraft);
    drag(Qt::LeftButton);
    EXPECT_EQ(paintedWith(),
              (std::vector<int>{curvex::DispDrawToolpathDraft, curvex::DispDrawToolpath}));
    viewer.missing.insert(curvex::DispDrawToolpath);
    EXPECT_EQ(toolpath.drawDraft(0, QSize(10, 10)), std::nullopt);
}

} // namespace
