#include "apptestsupport.h"
#include "curvexcolor.h"
#include "curvexids.h"
#include "cutloader.h"
#include "durationtext.h"
#include "forms/frmmain.h"
#include "forms/machiningtimepanel.h"
#include "forms/machiningtimeview.h"
#include "machiningtime.h"
#include "mainwindowfixture.h"
#include "shownrecords.h"
#include "varnutl.h"

#include <QDockWidget>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

// The machining-time panel and status line of the real main window.

namespace {

// The figures worked out here from the sample file, as the panel must show them.
struct SampleFigures {
    CutDataSet data;

    SampleFigures() { EXPECT_TRUE(LoadCutFile("samples/CUTDATA.txt", CutFormat::Text, data).ok()); }

    static QString time(double seconds) { return QString::fromStdString(DurationText(seconds)); }
};

QString cellText(const MachiningTimeView& panel, int row, int column) {
    const QTableWidgetItem* item = panel.item(row, column);
    return item ? item->text() : QString();
}

void expectRow(const MachiningTimeView& panel, int row, const MachiningTimes& times,
               const std::string& what) {
    EXPECT_EQ(cellText(panel, row, MachiningTimeView::ColumnRecords),
              QString::number(times.records))
        << what;
    EXPECT_EQ(cellText(panel, row, MachiningTimeView::ColumnCut),
              QString::number(times.cutLength, 'f', 1))
        << what;
    EXPECT_EQ(cellText(panel, row, MachiningTimeView::ColumnProgrammed),
              SampleFigures::time(times.programmed))
        << what;
    EXPECT_EQ(cellText(panel, row, MachiningTimeView::ColumnOptimised),
              SampleFigures::time(times.optimised))
        << what;
    EXPECT_EQ(cellText(panel, row, MachiningTimeView::ColumnSavedPercent),
              times.savedPercent ? QString::number(*times.savedPercent, 'f', 1) : QString())
        << what;
}

TEST_F(MainWindowTest, MachiningTimesFollowLoadG00FeedAndView) {
    load();
    MachiningTimePanel* view = window->machiningTime();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->dock().isHidden());
    EXPECT_EQ(view->totals().text(), QString());
    open(sample(QStringLiteral("run.txt"), false));

    const SampleFigures sample;
    const std::vector<ToolTimes> tools = ToolTimesOf(sample.data, 5000.0);
    const MachiningTimeView& panel = view->panel();
    ASSERT_EQ(panel.rowCount(), static_cast<int>(tools.size()) + 2);
    for (std::size_t t = 0; t < tools.size(); ++t) {
        const int row = static_cast<int>(t);
        EXPECT_EQ(cellText(panel, row, MachiningTimeView::ColumnTool),
                  QStringLiteral("T%1").arg(tools[t].toolNo));
        expectRow(panel, row, tools[t].times, "tool row " + std::to_string(t));
        std::vector<QColor> colours;
        for (int n = 0; n < 16; ++n) {
            if (tools[t].colours & (1u << n))
                colours.push_back(curvex::toQColor(
                    static_cast<std::uint32_t>(window->Viewer1().getGraphColor(n))));
        }
        EXPECT_EQ(panel.toolColours(row), colours) << t;
    }
    // Tool 1 comes back after the last tool, in the seventh colour.
    EXPECT_EQ(panel.toolColours(0).size(), 2u);
    const int totalRow = static_cast<int>(tools.size());
    expectRow(panel, totalRow, TotalTimesOf(sample.data, 5000.0), "total");
    expectRow(panel, totalRow + 1, TotalTimesOf(sample.data, 5000.0), "shown, everything");
    EXPECT_EQ(
        view->totals().text(),
        QStringLiteral("Programmed 0:19:36.1 \u00B7 Optimised 0:14:14.5 \u00B7 Saved 27.3 %"));
    EXPECT_TRUE(window->statusBar()->isAncestorOf(&view->totals()));

    answers.inputs = {QStringLiteral("2500")};
    window->mnuG00feed().trigger();
    expectRow(panel, totalRow, TotalTimesOf(sample.data, 2500.0), "total, G00 2500");
    EXPECT_EQ(view->totals().text().left(20),
              QStringLiteral("Programmed ") +
                  SampleFigures::time(TotalTimesOf(sample.data, 2500.0).programmed));

    window->Viewer1().setDistArea(25.0f, 50.0f);
    window->Viewer1().setViewRenewal(true);
    window->Viewer1().refresh();
    const MachiningTimes shown = ShownTimesOf(sample.data, 0, {25.0f, 50.0f}, 2500.0);
    EXPECT_GT(shown.records, 0u);
    EXPECT_LT(shown.records, sample.data.count);
    expectRow(panel, totalRow + 1, shown, "shown, 25..50 %");
    expectRow(panel, totalRow, TotalTimesOf(sample.data, 2500.0), "total after zoom");
}

TEST_F(MainWindowTest, MachiningTimeViewKeepsItsPlaceWithTheDocksAndTheLayoutHolds) {
    load();
    unload();
    const QString section = QStringLiteral("Docks");
    EXPECT_EQ(ReadIniValue(section, QStringLiteral("Machining Time Visible")), QString());
    load();
    QDockWidget& dock = window->machiningTime()->dock();
    window->addDockWidget(Qt::RightDockWidgetArea, &dock);
    dock.show();
    QTest::qWait(50);
    const double dpi = window->logicalDpiY();
    const auto px = [dpi](int twips) { return static_cast<int>(std::lround(twips * dpi / 1440)); };
    const auto checkLayout = [&] {
        const QSize client = window->centralWidget()->size();
        const QRect graph = window->viewerWidget().geometry();
        const QRect button = window->Command1().geometry();
        EXPECT_NEAR(graph.right() + 1, client.width() - px(120), 1);
        EXPECT_NEAR(button.right() + 1, client.width() - px(120), 1);
        EXPECT_NEAR(button.bottom() + 1, client.height() - px(120), 1);
        EXPECT_NEAR(graph.bottom() + 1, button.top() - px(120), 1);
        EXPECT_EQ(window->HS1().geometry().top(), button.top());
    };
    checkLayout();
    const QString before = ReadIniValue(kProperty, QStringLiteral("Form Width"));
    unload();

    EXPECT_EQ(ReadIniValue(section, QStringLiteral("Machining Time Visible")), QStringLiteral("1"));
    EXPECT_EQ(ReadIniValue(section, QStringLiteral("Machining Time Area")),
              QString::number(Qt::RightDockWidgetArea));
    load();
    QDockWidget& again = window->machiningTime()->dock();
    EXPECT_FALSE(again.isHidden());
    EXPECT_EQ(window->dockWidgetArea(&again), Qt::RightDockWidgetArea);
    QTest::qWait(50);
    checkLayout();
    again.hide();
    QTest::qWait(50);
    checkLayout();
    unload();
    EXPECT_EQ(ReadIniValue(section, QStringLiteral("Machining Time Visible")), QStringLiteral("0"));
}

// A control that has none of the machining-time members.
// The panel's captions come from section "Extra Text": a site's own words are shown, and every
// caption missing there is written back with its default.
TEST_F(MainWindowTest, MachiningTimeCaptionsComeFromTheExtraTexts) {
    WriteIniValue(QStringLiteral("Extra Text"), QStringLiteral("MachiningTotalRow"),
                  QStringLiteral("Summe"));
    WriteIniValue(QStringLiteral("Extra Text"), QStringLiteral("MachiningToolColumn"),
                  QStringLiteral("Werkzeug"));
    WriteIniValue(QStringLiteral("Extra Text"), QStringLiteral("MachiningTotals"),
                  QStringLiteral("%1 -> %2 (%3)"));
    load();
    MachiningTimePanel* view = window->machiningTime();
    ASSERT_NE(view, nullptr);
    open(sample(QStringLiteral("run.txt"), false));
    const MachiningTimeView& panel = view->panel();
    const int totalRow = panel.rowCount() - 2;
    EXPECT_EQ(cellText(panel, totalRow, MachiningTimeView::ColumnTool), QStringLiteral("Summe"));
    EXPECT_EQ(cellText(panel, totalRow + 1, MachiningTimeView::ColumnTool),
              QStringLiteral("Shown range"));
    EXPECT_EQ(panel.horizontalHeaderItem(MachiningTimeView::ColumnTool)->text(),
              QStringLiteral("Werkzeug"));
    EXPECT_EQ(panel.horizontalHeaderItem(MachiningTimeView::ColumnNoFeed)->text(),
              QStringLiteral("No feed prog./opt."));
    EXPECT_EQ(view->totals().text(), QStringLiteral("0:19:36.1 -> 0:14:14.5 (27.3 %)"));
    EXPECT_EQ(view->dock().windowTitle(), QStringLiteral("Machining time"));
    EXPECT_EQ(view->dock().toggleViewAction()->text(), QStringLiteral("Machining Time"));
    const struct {
        const char* key;
        const char* text;
    } written[] = {{"MachiningTotalRow", "Summe"},
                   {"MachiningShownRow", "Shown range"},
                   {"MachiningSavedPercentColumn", "Saved %"},
                   {"MachiningTimeItem", "Machining Time"}};
    for (const auto& [key, text] : written)
        EXPECT_EQ(ReadIniValue(QStringLiteral("Extra Text"), QLatin1String(key)),
                  QLatin1String(text))
            << key;
}

class ControlWithoutMachiningTimes : public component::DispatchObject {
public:
    component::InvokeResult invoke(int dispid, component::InvokeKind, QVariantList&,
                                   QVariant*) override {
        return dispid >= curvex::DispGetToolRowCount && dispid <= curvex::DispGetShownRow
                   ? component::InvokeResult::MemberNotFound
                   : component::InvokeResult::Ok;
    }
};

TEST_F(MainWindowTest, AControlWithoutMachiningTimesGetsNoPanel) {
    QMainWindow host;
    QMenu menu;
    ControlWithoutMachiningTimes control;
    CurvexProxy proxy(control);
    EXPECT_FALSE(proxy.getToolRowCount());
    EXPECT_FALSE(proxy.getTotalRow());
    EXPECT_EQ(MachiningTimePanel::attach(host, proxy, menu), nullptr);
    EXPECT_TRUE(menu.actions().isEmpty());
    EXPECT_TRUE(host.findChildren<QDockWidget*>().isEmpty());
    EXPECT_EQ(host.findChild<QStatusBar*>(), nullptr);
}

} // namespace
