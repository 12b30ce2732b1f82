#include "forms/comparemenu.h"
#include "mainwindowfixture.h"

#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

// The menu items of the compare charts, the colours by tool, the legend and fit height in the
// real main window.

namespace {

const QString kCompare = QStringLiteral("Compare");

QMenu* menuTitled(QMainWindow& window, const QString& title) {
    for (QAction* action : window.menuBar()->actions())
        if (action->menu() && action->text() == title)
            return action->menu();
    return nullptr;
}

TEST_F(MainWindowTest, TheNewItemsFollowTheFunctionAndColourItems) {
    load();
    CompareMenu* menu = window->compareMenu();
    ASSERT_NE(menu, nullptr);
    const QList<QAction*> function = window->mnuIndFunc().actions();
    ASSERT_EQ(function.size(), 7);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(function[i], &window->mnuFunc(i));
    EXPECT_TRUE(function[3]->isSeparator());
    EXPECT_EQ(function[4], &menu->compareItem(curvex::CompareMode::Rates));
    EXPECT_EQ(function[5], &menu->compareItem(curvex::CompareMode::Feeds));
    EXPECT_EQ(function[6], &menu->compareItem(curvex::CompareMode::FeedChange));
    EXPECT_EQ(function[4]->text(), QStringLiteral("Rates Compared"));
    EXPECT_EQ(function[6]->text(), QStringLiteral("Feed Change"));
    EXPECT_TRUE(function[6]->isVisible());
    QMenu* configMenu = menuTitled(*window, gText(QStringLiteral("mnuConfig")));
    ASSERT_NE(configMenu, nullptr);
    const QList<QAction*> config = configMenu->actions();
    const qsizetype colour = config.indexOf(&window->mnuDrawColor());
    ASSERT_GE(colour, 0);
    EXPECT_EQ(config.value(colour + 1), &menu->colourByTool());
    EXPECT_EQ(menu->colourByTool().text(), QStringLiteral("Colour by Tool Number"));
    QMenu* view = menuTitled(*window, QStringLiteral("View"));
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->actions().contains(&menu->legend()));
    EXPECT_TRUE(view->actions().contains(&menu->fitHeight()));
    EXPECT_EQ(menu->fitHeight().text(), QStringLiteral("Fit Height to Shown Range"));
}

// The six items form one group: choosing one unchecks the others.
TEST_F(MainWindowTest, TheSixFunctionItemsExcludeEachOther) {
    load();
    CompareMenu& menu = *window->compareMenu();
    const auto checked = [&] {
        std::vector<bool> state;
        for (int i = 0; i < 3; ++i)
            state.push_back(window->mnuFunc(i).isChecked());
        state.push_back(menu.compareItem(curvex::CompareMode::Rates).isChecked());
        state.push_back(menu.compareItem(curvex::CompareMode::Feeds).isChecked());
        state.push_back(menu.compareItem(curvex::CompareMode::FeedChange).isChecked());
        return state;
    };
    window->mnuFunc(1).trigger();
    EXPECT_EQ(checked(), (std::vector<bool>{false, true, false, false, false, false}));
    menu.compareItem(curvex::CompareMode::Feeds).trigger();
    EXPECT_EQ(checked(), (std::vector<bool>{false, false, false, false, true, false}));
    menu.compareItem(curvex::CompareMode::FeedChange).trigger();
    EXPECT_EQ(checked(), (std::vector<bool>{false, false, false, false, false, true}));
    EXPECT_EQ(window->Viewer1().getCompareMode(), 3);
    menu.compareItem(curvex::CompareMode::Rates).trigger();
    EXPECT_EQ(checked(), (std::vector<bool>{false, false, false, true, false, false}));
    window->mnuFunc(2).trigger();
    EXPECT_EQ(checked(), (std::vector<bool>{false, false, true, false, false, false}));
    EXPECT_EQ(window->Viewer1().getCompareMode(), 0);
}

// A compare chart is kept in section Compare; "Draw Mode" stays the last of the three plotted
// quantities chosen, and the next start shows the compare chart again.
TEST_F(MainWindowTest, ACompareChartIsKeptBesideTheLastDrawMode) {
    load();
    CompareMenu* menu = window->compareMenu();
    window->mnuFunc(2).trigger();
    menu->compareItem(curvex::CompareMode::Feeds).trigger();
    menu->legend().trigger();
    unload();
    EXPECT_EQ(ReadIniValue(kProperty, QStringLiteral("Draw Mode")), QStringLiteral("4"));
    EXPECT_EQ(ReadIniValue(kCompare, QStringLiteral("Mode")), QStringLiteral("2"));
    EXPECT_EQ(ReadIniValue(kCompare, QStringLiteral("Legend")), QStringLiteral("1"));
    EXPECT_EQ(ReadIniValue(kCompare, QStringLiteral("Fit Height")), QString());
    load();
    menu = window->compareMenu();
    EXPECT_TRUE(menu->compareItem(curvex::CompareMode::Feeds).isChecked());
    EXPECT_FALSE(window->mnuFunc(2).isChecked());
    EXPECT_TRUE(menu->legend().isChecked());
    window->mnuFunc(0).trigger();
    menu->legend().trigger();
    unload();
    EXPECT_EQ(ReadIniValue(kProperty, QStringLiteral("Draw Mode")), QStringLiteral("1"));
    EXPECT_EQ(ReadIniValue(kCompare, QStringLiteral("Mode")), QStringLiteral("0"));
    EXPECT_EQ(ReadIniValue(kCompare, QStringLiteral("Legend")), QStringLiteral("0"));
}

// Starting up, the window takes a stored caption equal to an earlier default as the current
// default and writes that back; any other stored caption stays as the user wrote it.
TEST_F(MainWindowTest, EarlierDefaultCaptionsGiveWayToTheCurrentOnes) {
    const QString section = QStringLiteral("Extra Text");
    const struct {
        const char* key;
        const char* stored;
        const char* kept;
    } cases[] = {
        {"RatesComparedTitle", "Removal per Sec [mm3/sec]: OrgFeed grey",
         "Removal per Sec [mm3/sec]"},
        {"FeedsComparedTitle", "Vorschub [mm/min]", "Vorschub [mm/min]"},
        {"ProgrammedCaption", "OrgFeed", "Programmed"},
        {"LegendItem", "OrgFeed", "OrgFeed"},
    };
    for (const auto& c : cases)
        WriteIniValue(section, QString::fromLatin1(c.key), QString::fromLatin1(c.stored));
    load();
    for (const auto& c : cases)
        EXPECT_EQ(ReadIniValue(section, QString::fromLatin1(c.key)), QString::fromLatin1(c.kept))
            << c.key;
    EXPECT_EQ(window->compareMenu()->legend().text(), QStringLiteral("OrgFeed"));
}

} // namespace
