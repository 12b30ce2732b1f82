#include "forms/timeaxismenu.h"
#include "mainwindowfixture.h"

#include <QMenu>

#include <gtest/gtest.h>

// The items of the time axes in the real main window's Config > Horizontal Axis.

namespace {

const QString kTimeAxis = QStringLiteral("Time Axis");
using curvex::TimeAxisMode;

// The check marks of the three distance items and the two time items, in the menu's order.
std::vector<bool> checkedItems(FrmMain& window) {
    std::vector<bool> state;
    for (int i = 0; i < 3; ++i)
        state.push_back(window.mnuDist(i).isChecked());
    TimeAxisMenu& menu = *window.timeAxisMenu();
    state.push_back(menu.timeItem(TimeAxisMode::Programmed).isChecked());
    state.push_back(menu.timeItem(TimeAxisMode::Optimised).isChecked());
    return state;
}

TEST_F(MainWindowTest, TheTimeItemsFollowTheDistanceItemsAfterASeparator) {
    load();
    TimeAxisMenu* menu = window->timeAxisMenu();
    ASSERT_NE(menu, nullptr);
    const QList<QAction*> items = window->mnuDistMode().actions();
    ASSERT_EQ(items.size(), 6);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(items[i], &window->mnuDist(i));
    EXPECT_TRUE(items[3]->isSeparator());
    EXPECT_EQ(items[4], &menu->timeItem(TimeAxisMode::Programmed));
    EXPECT_EQ(items[5], &menu->timeItem(TimeAxisMode::Optimised));
    EXPECT_EQ(items[4]->text(), QStringLiteral("Machining Time (Programmed)"));
    EXPECT_EQ(items[5]->text(), QStringLiteral("Machining Time (Optimised)"));
}

// The five items exclude each other, and the control follows them.
TEST_F(MainWindowTest, TheFiveAxisItemsExcludeEachOther) {
    load();
    TimeAxisMenu& menu = *window->timeAxisMenu();
    window->mnuDist(1).trigger();
    EXPECT_EQ(checkedItems(*window), (std::vector<bool>{false, true, false, false, false}));
    menu.timeItem(TimeAxisMode::Optimised).trigger();
    EXPECT_EQ(checkedItems(*window), (std::vector<bool>{false, false, false, false, true}));
    EXPECT_EQ(window->Viewer1().getTimeAxis(), 2);
    EXPECT_EQ(window->Viewer1().distanceMode(), 1);
    menu.timeItem(TimeAxisMode::Programmed).trigger();
    EXPECT_EQ(checkedItems(*window), (std::vector<bool>{false, false, false, true, false}));
    EXPECT_EQ(window->Viewer1().getTimeAxis(), 1);
    window->mnuDist(2).trigger();
    EXPECT_EQ(checkedItems(*window), (std::vector<bool>{false, false, true, false, false}));
    EXPECT_EQ(window->Viewer1().getTimeAxis(), 0);
    EXPECT_EQ(window->Viewer1().distanceMode(), 2);
}

// The time axis is kept in section Time Axis; "Dist Mode" stays the last of the three distance
// items chosen, and the next start shows the time axis again.
TEST_F(MainWindowTest, ATimeAxisIsKeptBesideTheLastDistanceMode) {
    load();
    EXPECT_EQ(ReadIniValue(kTimeAxis, QStringLiteral("Mode")), QString());
    window->mnuDist(2).trigger();
    window->timeAxisMenu()->timeItem(TimeAxisMode::Optimised).trigger();
    unload();
    EXPECT_EQ(ReadIniValue(kProperty, QStringLiteral("Dist Mode")), QStringLiteral("2"));
    EXPECT_EQ(ReadIniValue(kTimeAxis, QStringLiteral("Mode")), QStringLiteral("2"));
    load();
    EXPECT_EQ(checkedItems(*window), (std::vector<bool>{false, false, false, false, true}));
    EXPECT_EQ(window->Viewer1().getTimeAxis(), 2);
    EXPECT_EQ(window->Viewer1().distanceMode(), 2);
    window->mnuDist(0).trigger();
    unload();
    EXPECT_EQ(ReadIniValue(kProperty, QStringLiteral("Dist Mode")), QStringLiteral("0"));
    EXPECT_EQ(ReadIniValue(kTimeAxis, QStringLiteral("Mode")), QStringLiteral("0"));
    load();
    EXPECT_EQ(checkedItems(*window), (std::vector<bool>{true, false, false, false, false}));
    EXPECT_EQ(window->Viewer1().getTimeAxis(), 0);
}

// Choosing a time axis with a narrowed range shows the same records, as the control's shown row
// counts them.
TEST_F(MainWindowTest, SwitchingTheAxisKeepsTheShownRecords) {
    load();
    open(sample(QStringLiteral("part.txt"), false));
    window->Viewer1().setDistArea(20.0f, 45.0f);
    const auto before = window->Viewer1().getShownRow();
    ASSERT_TRUE(before);
    window->timeAxisMenu()->timeItem(TimeAxisMode::Programmed).trigger();
    const auto after = window->Viewer1().getShownRow();
    ASSERT_TRUE(after);
    EXPECT_NE(shownRange(), std::make_pair(20.0f, 45.0f));
    EXPECT_EQ(after->records, before->records);
    EXPECT_EQ(after->cutLength, before->cutLength);
}

} // namespace
