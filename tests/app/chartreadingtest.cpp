#include "forms/chartreading.h"
#include "apptestsupport.h"
#include "curvexproxy.h"
#include "cutloader.h"
#include "durationtext.h"
#include "forms/chartstatus.h"
#include "forms/comparemenu.h"
#include "forms/frmmain.h"
#include "mainwindowfixture.h"

#include <QDir>
#include <QProcess>
#include <QScrollBar>
#include <QStatusBar>

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A control of the first interface: every newer member is missing.
class FirstInterfaceControl : public component::DispatchObject {
public:
    component::InvokeResult invoke(int dispid, component::InvokeKind, QVariantList&,
                                   QVariant*) override {
        return dispid <= 18 ? component::InvokeResult::Ok : component::InvokeResult::MemberNotFound;
    }
};

using ChartReadingTest = MainWindowTest;

// Each kind of failure the loader tells apart reaches the status bar; the title is the one a
// failed open always gave, no message box shows and the previous chart stays.
TEST_F(ChartReadingTest, AFailedOpenSaysWhyInTheStatusBar) {
    load();
    const QString good = sample(QStringLiteral("run.txt"), false);
    apptest::writeFile(gAppFolder + QStringLiteral("empty.txt"), {});
    apptest::writeFile(gAppFolder + QStringLiteral("short.bin"), "0123456789");
    // A header, then an entry whose flag word promises a tool number that is not there.
    apptest::writeFile(gAppFolder + QStringLiteral("cut.bin"),
                       QByteArray("\0\0\x80\x3f\0\0\0\x40\0\0\x40\x40\x01\x01\x05", 15));
    QDir(gAppFolder).mkdir(QStringLiteral("folder.txt"));
    const struct {
        const char* name;
        const char* reason;
    } cases[] = {
        {"missing.txt", "cannot open the file: No such file or directory"},
        {"folder.txt", "cannot open the file: Is a directory"},
        {"empty.txt", "the file is empty"},
        {"short.bin", "the file is shorter than its 12-byte header"},
        {"cut.bin", "truncated entry at byte offset 14"},
    };
    for (const auto& c : cases) {
        open(good);
        ASSERT_EQ(window->chartStatus().message(), QString());
        const QImage chart = window->viewerWidget().grab().toImage();
        const QString path = gAppFolder + QString::fromLatin1(c.name);
        open(path);
        EXPECT_EQ(window->chartStatus().message(), QStringLiteral("Cannot load ") + path +
                                                       QStringLiteral(": ") +
                                                       QString::fromLatin1(c.reason));
        EXPECT_EQ(window->statusBar()->currentMessage(), window->chartStatus().message());
        EXPECT_EQ(window->windowTitle(), baseCaption + kFourBlanks) << c.name;
        EXPECT_TRUE(answers.messages.empty()) << c.name;
        EXPECT_EQ(window->viewerWidget().grab().toImage(), chart) << c.name;
    }
    open(good);
    EXPECT_EQ(window->chartStatus().message(), QString());
}

TEST(ChartStatus, AControlThatCannotSayWhyStillNamesTheFile) {
    apptest::application();
    QStatusBar bar;
    FirstInterfaceControl control;
    CurvexProxy proxy(control);
    ChartStatus status(bar);
    EXPECT_EQ(proxy.getLoadError(), std::nullopt);
    status.loadDone(QStringLiteral("run.txt"), false, proxy.getLoadError());
    EXPECT_EQ(status.message(), QStringLiteral("Cannot load run.txt"));
    status.clearReadOut();
    EXPECT_EQ(status.message(), QStringLiteral("Cannot load run.txt")) << "not a read-out";
    status.showReadOut(QStringLiteral("N10"));
    status.clearReadOut();
    EXPECT_EQ(status.message(), QString());
}

TEST_F(ChartReadingTest, FileCommandsHaveShortcuts) {
    load();
    EXPECT_EQ(window->mnuOpen().shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
    EXPECT_EQ(window->mnuPrint().shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
    EXPECT_EQ(window->mnuExit().shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));
    EXPECT_EQ(window->chartReading().mnuGoToBlock().shortcut(),
              QKeySequence(QStringLiteral("Ctrl+G")));
}

TEST_F(ChartReadingTest, GoToBlockShowsTheBlockOrSaysItIsMissing) {
    load();
    open(sample(QStringLiteral("run.txt"), false));
    CutDataSet data;
    ASSERT_TRUE(LoadCutFile("samples/CUTDATA.txt", CutFormat::Text, data).ok());
    const std::int32_t blockNo = data.blockNos[data.count / 2];
    QScrollBar& bar = window->HS1();
    ASSERT_EQ(bar.maximum(), 0) << "the whole range is shown";

    answers.inputs = {QString::number(blockNo)};
    QTest::keyClick(window.get(), Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(answers.inputPrompts.size(), 1u);
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar.maximum() > 0; })) << "the scroll bar follows";
    const auto [lower, upper] = shownRange();
    EXPECT_NEAR(upper - lower, 1.0f, 1e-4f);
    EXPECT_TRUE(window->chartStatus().message().startsWith(QStringLiteral("N%1 T").arg(blockNo)))
        << window->chartStatus().message().toStdString();

    const struct {
        const char* answer;
        const char* message;
    } refusals[] = {
        {"999999", "Block 999999 is not in the data"},
        {"12a", "Not a block number: 12a"},
    };
    for (const auto& r : refusals) {
        answers.inputs = {QString::fromLatin1(r.answer)};
        window->chartReading().mnuGoToBlock().trigger();
        EXPECT_EQ(window->chartStatus().message(), QString::fromLatin1(r.message));
        EXPECT_EQ(shownRange(), std::make_pair(lower, upper));
    }
}

// The status bar shows what `curvex pick --elapsed` prints for the pointer's column of the same
// chart: the record, its position and the elapsed machining times.
TEST_F(ChartReadingTest, TheReadOutAgreesWithCurvexPick) {
    load();
    open(sample(QStringLiteral("run.txt"), false));
    QWidget& chart = window->viewerWidget();
    for (const int column : {chart.width() / 3, chart.width() * 3 / 4}) {
        QTest::mouseMove(&chart, QPoint(column, chart.height() / 2));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return window->chartStatus().message().startsWith(QStringLiteral("N")); }));
        QProcess pick;
        pick.start(apptest::binFile(QStringLiteral("curvex")),
                   {QStringLiteral("pick"), QStringLiteral("--size"),
                    QStringLiteral("%1x%2").arg(chart.width()).arg(chart.height()),
                    QStringLiteral("--x"), QString::number(column), QStringLiteral("--elapsed"),
                    QStringLiteral("samples/CUTDATA.txt")});
        ASSERT_TRUE(pick.waitForFinished(10000));
        ASSERT_EQ(pick.exitCode(), 0) << pick.readAllStandardError().toStdString();
        QVariantList record;
        for (const QByteArray& field : pick.readAllStandardOutput().trimmed().split(','))
            record.push_back(QString::fromLatin1(field));
        ASSERT_EQ(record.size(), 15);
        const QVariantList place = record.mid(12);
        record = record.mid(0, 12);
        const auto time = [](const QVariant& seconds) {
            return QString::fromStdString(DurationText(seconds.toDouble()));
        };
        const QString at =
            QStringLiteral(" at %1 mm \u00B7 programmed %2, optimised %3")
                .arg(QString::number(place[0].toDouble(), 'f', 1), time(place[1]), time(place[2]));
        EXPECT_EQ(window->chartStatus().message(), ChartReading::describe(record, 1, 0) + at)
            << "column " << column;
    }
    QTest::mouseMove(&chart, QPoint(chart.width() + 30, chart.height() / 2));
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->chartStatus().message().isEmpty(); }));
}

// The value of the read-out is that of the plotted series, and its unit follows it: the draw
// mode's series, or the optimised series of a compare chart whatever the draw mode.
TEST(ChartReading, TheUnitFollowsWhatTheChartPlots) {
    const QVariantList record{5, 120, 3, 1, 1.5, 2.5, -3.0, 600, 900, 1, 0.25, 19.7425};
    const struct {
        int drawMode;
        int compareMode;
        const char* unit;
    } cases[] = {
        {1, 0, "mm3/mm"},  {2, 0, "mm3/sec"}, {4, 0, "mm3/sec"}, {8, 0, "mm3/mm"},
        {6, 0, "mm3/sec"}, {1, 1, "mm3/sec"}, {4, 1, "mm3/sec"}, {1, 2, "mm/min"},
        {2, 2, "mm/min"},  {4, 2, "mm/min"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChartReading::describe(record, c.drawMode, c.compareMode),
                  QStringLiteral("N120 T3 G01 X1.5 Y2.5 Z-3 F600/900 A0.25 = 19.7425 ") +
                      QString::fromLatin1(c.unit))
            << c.drawMode << "/" << c.compareMode;
}

// The feed change is read with its sign, one decimal and "%", whatever the draw mode; a record
// without a change (a G00 move, no programmed feed) says so.
TEST(ChartReading, TheFeedChangeIsReadWithItsSign) {
    const struct {
        double change;
        int drawMode;
        const char* value;
    } cases[] = {
        {-37.5, 1, "-37.5 %"},
        {12.5, 2, "+12.5 %"},
        {0.0, 4, "+0.0 %"},
        {-0.04, 1, "-0.0 %"},
        {250.0, 1, "+250.0 %"},
        {-100.0, 8, "-100.0 %"},
        {std::nan(""), 1, "no feed change"},
    };
    for (const auto& c : cases) {
        const QVariantList record{5, 120, 3, 1, 1.5, 2.5, -3.0, 600, 900, 1, 0.25, c.change};
        EXPECT_EQ(ChartReading::describe(record, c.drawMode, 3),
                  QStringLiteral("N120 T3 G01 X1.5 Y2.5 Z-3 F600/900 A0.25 = ") +
                      QString::fromLatin1(c.value))
            << c.change;
    }
}

TEST(ChartReading, ThePlaceNamesBothElapsedTimes) {
    const QVariantList place{5812.44, 1448.4, 1731.8};
    const QString format = QStringLiteral("programmed %1, optimised %2");
    EXPECT_EQ(ChartReading::describePlace(place, 0, format),
              QStringLiteral(" at 5812.4 mm \u00B7 programmed 0:24:08.4, optimised 0:28:51.8"));
    EXPECT_EQ(ChartReading::describePlace(place, 2, QStringLiteral("P %1 O %2")),
              QStringLiteral(" at block 5812.44 \u00B7 P 0:24:08.4 O 0:28:51.8"));
}

// Through the window: in Feeds Compared the read-out gives the optimised feed in mm/min, in
// Rates Compared removal per second; the caption of the elapsed times comes from "Extra Text".
TEST_F(ChartReadingTest, TheReadOutOfACompareChartGivesItsUnit) {
    WriteIniValue(QStringLiteral("Extra Text"), QStringLiteral("ElapsedTimes"),
                  QStringLiteral("prog %1 opt %2"));
    load();
    ASSERT_NE(window->compareMenu(), nullptr);
    open(sample(QStringLiteral("run.txt"), false));
    QWidget& chart = window->viewerWidget();
    const struct {
        curvex::CompareMode mode;
        const char* unit;
    } cases[] = {{curvex::CompareMode::Feeds, " mm/min at "},
                 {curvex::CompareMode::Rates, " mm3/sec at "}};
    for (const auto& c : cases) {
        window->compareMenu()->compareItem(c.mode).trigger();
        QTest::mouseMove(&chart, QPoint(chart.width() + 30, chart.height() / 2));
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->chartStatus().message().isEmpty(); }));
        QTest::mouseMove(&chart,
                         QPoint(chart.width() / 2 + static_cast<int>(c.mode), chart.height() / 2));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return window->chartStatus().message().startsWith(QStringLiteral("N")); }));
        const QString message = window->chartStatus().message();
        EXPECT_TRUE(message.contains(QString::fromLatin1(c.unit))) << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("\u00B7 prog "))) << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral(" opt "))) << message.toStdString();
        if (c.mode == curvex::CompareMode::Feeds) {
            const QString feeds = message.section(u' ', 6, 6);
            const QString value = message.section(QStringLiteral(" = "), 1).section(u' ', 0, 0);
            EXPECT_EQ(value, feeds.section(u'/', 1))
                << "the value is the optimised feed: " << message.toStdString();
        }
    }
}

} // namespace
