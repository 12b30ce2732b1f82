#include "cutloader.h"
#include "filenametext.h"
#include "forms/chartstatus.h"
#include "forms/frmmain.h"
#include "forms/toolpathcanvas.h"
#include "forms/toolpathpanel.h"
#include "mainwindowfixture.h"
#include "recordingviewer.h"
#include "shownrecords.h"
#include "toolpathfit.h"
#include "toolpathpick.h"

#include <QComboBox>
#include <QDockWidget>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

// The toolpath panel of the real main window, linked to the chart through the control.

namespace {

struct Sample {
    CutDataSet data;
    Sample() { EXPECT_TRUE(LoadCutFile("samples/CUTDATA.txt", CutFormat::Text, data).ok()); }
};

// A point of the canvas on record `i`'s segment, a quarter of the way along it, and the record a
// click there picks.
struct Target {
    QPoint at;
    std::uint32_t record;
};

// A record outside the range [first, end) whose segment a click picks: the pick itself is checked
// against the brute force elsewhere.
std::optional<Target> findTarget(const ToolpathModel& model, const ToolpathFit& fit,
                                 std::uint32_t first, std::uint32_t end) {
    const CutDataSet& data = model.data();
    for (std::uint32_t i = 1; i < data.count; i += 7) {
        if (i >= first && i < end)
            continue;
        const CutRecord& a = data.records[i - 1];
        const CutRecord& b = data.records[i];
        const double x = fit.px(a.x, a.y, a.z) * 0.75 + fit.px(b.x, b.y, b.z) * 0.25;
        const double y = fit.py(a.x, a.y, a.z) * 0.75 + fit.py(b.x, b.y, b.z) * 0.25;
        const QPoint at(static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y)));
        if (PickToolpathSegment(model, fit, at.x(), at.y()) == i)
            return Target{at, i};
    }
    return std::nullopt;
}

int pixelsOf(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == colour;
    return n;
}

// The whole range shown: the path in the chart's first colour as it is; a narrow range fades
// most of it.
TEST_F(MainWindowTest, ToolpathIsFadedOnlyOutsideTheShownRange) {
    load();
    ToolpathPanel* toolpath = window->toolpath();
    ASSERT_NE(toolpath, nullptr);
    open(sample(QStringLiteral("run.txt"), false));
    toolpath->dock().show();
    ToolpathCanvas& canvas = toolpath->canvas();
    canvas.resize(400, 300);
    canvas.repaint();
    const int whole = pixelsOf(canvas.picture(), qRgb(0, 255, 0));
    EXPECT_GT(whole, 0);
    ASSERT_TRUE(window->Viewer1().setDistArea(90.0f, 91.0f));
    canvas.repaint();
    EXPECT_LT(pixelsOf(canvas.picture(), qRgb(0, 255, 0)), whole);
}

// The dock's colourings end with the feed change, whose map and bar then show in the picture.
TEST_F(MainWindowTest, TheDockColoursTheToolpathByFeedChange) {
    load();
    ToolpathPanel* toolpath = window->toolpath();
    ASSERT_NE(toolpath, nullptr);
    open(sample(QStringLiteral("run.txt"), false));
    toolpath->dock().show();
    auto* colours = toolpath->dock().findChild<QComboBox*>(QStringLiteral("toolpathColour"));
    ASSERT_NE(colours, nullptr);
    ASSERT_EQ(colours->count(), 5);
    EXPECT_EQ(colours->itemText(4), QStringLiteral("Feed change"));
    ToolpathCanvas& canvas = toolpath->canvas();
    canvas.resize(400, 300);
    canvas.repaint();
    EXPECT_EQ(pixelsOf(canvas.picture(), qRgb(33, 102, 172)), 0);
    colours->setCurrentIndex(4);
    canvas.repaint();
    EXPECT_GT(pixelsOf(canvas.picture(), qRgb(33, 102, 172)), 0) << "the fastest colour";
    EXPECT_GT(pixelsOf(canvas.picture(), qRgb(178, 24, 43)), 0) << "the slowest colour";
    EXPECT_EQ(pixelsOf(canvas.picture(), qRgb(0, 255, 0)), 0) << "no chart colour is left";
}

TEST_F(MainWindowTest, ToolpathPanelIsLinkedToTheChartBothWays) {
    load();
    ToolpathPanel* toolpath = window->toolpath();
    ASSERT_NE(toolpath, nullptr);
    EXPECT_TRUE(toolpath->dock().isHidden());
    EXPECT_EQ(toolpath->dock().toggleViewAction()->text(), QStringLiteral("Toolpath"));
    open(sample(QStringLiteral("run.txt"), false));
    toolpath->dock().show();
    ToolpathCanvas& canvas = toolpath->canvas();
    canvas.resize(400, 300);
    canvas.repaint();
    ASSERT_EQ(canvas.picture().size(), canvas.size());

    // The chart shows 10 % to 20 %; a click on a segment outside picks it, marks it in the chart
    // and brings the range to it.
    ASSERT_TRUE(window->Viewer1().setDistArea(10.0f, 20.0f));
    const Sample sample;
    const ToolpathModel model(sample.data);
    const ToolpathFit fit(model.box(), ToolpathView(ToolpathViewKind::Iso), canvas.width(),
                          canvas.height());
    const RecordRange shown = ShownRecords(sample.data, 0, {10.0f, 20.0f});
    const auto target = findTarget(model, fit, shown.first, shown.end);
    ASSERT_TRUE(target);
    QTest::mouseClick(&canvas, Qt::LeftButton, Qt::NoModifier, target->at);
    const CutRecord& picked = sample.data.records[target->record];
    EXPECT_TRUE(window->chartStatus().message().startsWith(
        QStringLiteral("N%1 T%2 ").arg(picked.blockNo).arg(picked.toolNo)))
        << window->chartStatus().message().toStdString();
    const auto [lower, upper] = shownRange();
    const RecordRange moved = ShownRecords(sample.data, 0, {lower, upper});
    EXPECT_TRUE(target->record >= moved.first && target->record < moved.end)
        << lower << " " << upper;

    // The chart's mark shows in the toolpath as a cross at the record's end point.
    const std::uint32_t marked = target->record + 40;
    ASSERT_TRUE(window->Viewer1().markRecord(static_cast<std::int32_t>(marked)).value_or(false));
    canvas.repaint();
    const CutRecord& record = sample.data.records[marked];
    const int x = static_cast<int>(std::floor(fit.px(record.x, record.y, record.z)));
    const int y = static_cast<int>(std::floor(fit.py(record.x, record.y, record.z)));
    EXPECT_EQ(canvas.picture().pixel(x + 4, y + 4), qRgb(0, 0, 0));
    EXPECT_EQ(canvas.picture().pixel(x - 4, y + 4), qRgb(0, 0, 0));

    // Save Toolpath As writes the picture as the control draws it.
    const QString png = gAppFolder + QStringLiteral("path.png");
    EXPECT_EQ(toolpath->writeToolpath(png, canvas.size()), QString());
    EXPECT_EQ(QImage(png), canvas.picture().convertToFormat(QImage(png).format()));
    const QString svg = gAppFolder + QStringLiteral("path.svg");
    EXPECT_EQ(toolpath->writeToolpath(svg, QSize(320, 240)), QString());
    QFile file(svg);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("<svg"));
    EXPECT_FALSE(toolpath->writeToolpath(gAppFolder + QStringLiteral("path.gif"), QSize(320, 240))
                     .isEmpty());
}

QAction* saveToolpathAs(const ToolpathPanel& toolpath) {
    for (QAction* item : toolpath.menu().actions())
        if (item->text().startsWith(QStringLiteral("Save Toolpath As")))
            return item;
    return nullptr;
}

std::string contentsOf(const QByteArray& name) {
    std::ifstream file(name.toStdString(), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Save Toolpath As asks through the prompts for the file, writes a name that is no UTF-8 byte
// for byte, and says in one message box why a file could not be written, keeping the old one.
TEST_F(MainWindowTest, SaveToolpathAsAsksThroughThePromptsAndShowsAFailureInAMessageBox) {
    load();
    ToolpathPanel* toolpath = window->toolpath();
    ASSERT_NE(toolpath, nullptr);
    open(sample(QStringLiteral("run.txt"), false));
    QAction* saveAs = saveToolpathAs(*toolpath);
    ASSERT_NE(saveAs, nullptr);

    toolpath->dock().show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !toolpath->canvas().size().isEmpty(); }));
    const QByteArray folder = QFile::encodeName(gAppFolder);
    const QByteArray written = folder + "path-\xff.png";
    answers.chartChoices = {UserPrompts::ChartSaveChoice{fileNameFromBytes(written), {}}};
    saveAs->trigger();
    ASSERT_EQ(answers.chartRequests.size(), 1u);
    EXPECT_EQ(answers.chartRequests[0].fileName, QStringLiteral("toolpath.png"));
    EXPECT_EQ(answers.chartRequests[0].title, QStringLiteral("Save Toolpath As"));
    EXPECT_EQ(answers.chartRequests[0].size, toolpath->canvas().size()) << "the dock's size";
    EXPECT_EQ(contentsOf(written).rfind("\x89PNG", 0), 0u);
    EXPECT_EQ(QImage::fromData(QByteArray::fromStdString(contentsOf(written))).size(),
              toolpath->canvas().size());
    EXPECT_TRUE(answers.messages.empty());

    // The size field's choice is the picture's size.
    const QByteArray sized = folder + "sized.png";
    answers.chartChoices = {UserPrompts::ChartSaveChoice{fileNameFromBytes(sized), {321, 123}}};
    saveAs->trigger();
    EXPECT_EQ(QImage(fileNameFromBytes(sized)).size(), QSize(321, 123));

    const QByteArray refused = folder + "old-\xfe.svg";
    std::ofstream(refused.toStdString()) << "old";
    ASSERT_EQ(::chmod(refused.constData(), 0444), 0);
    answers.chartChoices = {UserPrompts::ChartSaveChoice{fileNameFromBytes(refused), {}}};
    saveAs->trigger();
    ASSERT_EQ(answers.messages.size(), 1u);
    const apptest::ShownMessage& shown = answers.messages[0];
    EXPECT_EQ(shown.text,
              QStringLiteral("Cannot save the toolpath as %1: %2")
                  .arg(fileNameFromBytes(refused), QString::fromLocal8Bit(std::strerror(EACCES))));
    EXPECT_EQ(shown.buttons, UserPrompts::Buttons::Ok);
    EXPECT_EQ(shown.icon, UserPrompts::Icon::Exclamation);
    EXPECT_EQ(contentsOf(refused), "old");
    ::unlink(refused.constData());
    EXPECT_TRUE(window->statusBar()->currentMessage().isEmpty());

    saveAs->trigger();
    EXPECT_EQ(answers.chartRequests.size(), 4u) << "a cancelled dialog writes nothing";
    EXPECT_EQ(answers.messages.size(), 1u);
}

// A path of `moves` blocks along X, each of the first `repeats` written twice: every second one
// is a segment of no length, which the toolpath leaves out.
QString pathWithRepeats(const QString& name, int moves, int repeats) {
    std::string text = "T1\n";
    int block = 1;
    for (int k = 1; k <= moves; ++k) {
        const std::string line =
            ")G01X" + std::to_string(k * 3) + "Y" + std::to_string(k % 2) + "Z0F600(A1)F900\n";
        text += "N" + std::to_string(block++) + line;
        if (k <= repeats)
            text += "N" + std::to_string(block++) + line;
    }
    const QString path = gAppFolder + name;
    std::ofstream(path.toStdString(), std::ios::binary) << text;
    return path;
}

// The dock's status line under the picture counts the segments left out, only when there are
// some; it follows the data shown.
TEST_F(MainWindowTest, TheDockStatusLineSaysHowManySegmentsAreLeftOut) {
    load();
    ToolpathPanel* toolpath = window->toolpath();
    ASSERT_NE(toolpath, nullptr);
    QLabel& status = toolpath->status();
    EXPECT_EQ(&status, toolpath->dock().findChild<QLabel*>(QStringLiteral("toolpathStatus")));
    open(pathWithRepeats(QStringLiteral("repeats.txt"), 30, 7));
    toolpath->dock().show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return status.isVisible(); }));
    EXPECT_EQ(status.text(), QStringLiteral("segments left out: 7"));
    EXPECT_GT(status.geometry().top(), toolpath->canvas().geometry().bottom()) << "under it";

    open(pathWithRepeats(QStringLiteral("plain.txt"), 30, 0));
    EXPECT_TRUE(status.isHidden());
    EXPECT_EQ(status.text(), QString());

    open(pathWithRepeats(QStringLiteral("one.txt"), 12, 1));
    EXPECT_FALSE(status.isHidden());
    EXPECT_EQ(status.text(), QStringLiteral("segments left out: 1"));

    // Shown again after being hidden, the dock asks once more.
    toolpath->dock().hide();
    open(pathWithRepeats(QStringLiteral("again.txt"), 12, 3));
    toolpath->dock().show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return toolpath->dock().isVisible(); }));
    EXPECT_EQ(status.text(), QStringLiteral("segments left out: 3"));
}

// A stand-in control with the toolpath members whose count of segments left out is `leftOut`, or
// that lacks the member.
class LeftOutViewer : public RecordingViewer {
public:
    component::InvokeResult invoke(int dispid, component::InvokeKind kind, QVariantList& args,
                                   QVariant* result) override {
        const component::InvokeResult status = RecordingViewer::invoke(dispid, kind, args, result);
        if (status == component::InvokeResult::Ok && dispid == curvex::DispGetToolpathLeftOut &&
            result)
            *result = leftOut;
        return status;
    }
    std::int32_t leftOut = 0;
};

// A control without the count shows no status line and the panel works as before.
TEST(ToolpathPanelStatus, ShowsTheControlsCountAndNothingWithoutTheMember) {
    apptest::application();
    const struct {
        const char* name;
        bool member;
        std::int32_t leftOut;
        QString shown;
    } cases[] = {
        {"some left out", true, 12, QStringLiteral("segments left out: 12")},
        {"none left out", true, 0, QString()},
        {"a count below 0", true, -4, QString()},
        {"without the member", false, 12, QString()},
    };
    for (const auto& c : cases) {
        LeftOutViewer viewer;
        viewer.leftOut = c.leftOut;
        if (!c.member)
            viewer.missing.insert(curvex::DispGetToolpathLeftOut);
        CurvexProxy proxy(viewer);
        QMainWindow window;
        ToolpathPanel* panel = ToolpathPanel::attach(window, proxy);
        ASSERT_NE(panel, nullptr) << c.name;
        window.show();
        panel->dock().show();
        panel->refresh();
        EXPECT_EQ(panel->status().isHidden(), c.shown.isEmpty()) << c.name;
        EXPECT_EQ(panel->status().text(), c.shown) << c.name;
        EXPECT_EQ(viewer.callsOf(curvex::DispGetToolpathLeftOut).empty(), false) << c.name;
    }
}

} // namespace
