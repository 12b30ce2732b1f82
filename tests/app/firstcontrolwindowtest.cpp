#include "componentregistry.h"
#include "curvexids.h"
#include "mainwindowfixture.h"

#include <QDockWidget>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>

#include <gtest/gtest.h>

// The window with a control that has only the first eighteen members and two events: every later
// panel and menu item stays away, and the chart, the file and the settings work as before.

namespace {

class FirstControlWindowTest : public MainWindowTest {
protected:
    FirstControlWindowTest() {
        component::ClassRegistration entry;
        entry.clsid = QString::fromLatin1(curvex::kControlClsid);
        entry.libraryPath = QStringLiteral(PLOTWELL_FIRST_CONTROL);
        registered = component::ComponentRegistry::registerClass(entry);
    }

    QStringList menuTexts(const QMenu& menu) const {
        QStringList texts;
        for (const QAction* action : menu.actions())
            texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
        return texts;
    }

    bool registered = false;
};

TEST_F(FirstControlWindowTest, TheLaterPanelsAndItemsAreNotOffered) {
    ASSERT_TRUE(registered);
    load();
    EXPECT_FALSE(window->Viewer1().getToolRowCount());
    EXPECT_EQ(window->compareMenu(), nullptr);
    EXPECT_EQ(window->machiningTime(), nullptr);
    EXPECT_EQ(window->toolpath(), nullptr);
    EXPECT_EQ(window->programPanel(), nullptr);
    EXPECT_EQ(window->peaksPanel(), nullptr);
    EXPECT_TRUE(window->findChildren<QDockWidget*>().isEmpty());
    EXPECT_EQ(window->mnuIndFunc().actions().size(), 3);
    for (QAction* bar : window->menuBar()->actions()) {
        if (bar->menu() == nullptr)
            continue;
        for (const QString& text : menuTexts(*bar->menu())) {
            for (const char* later : {"Compared", "Colour by Tool", "Legend", "Fit Height",
                                      "Toolpath", "NC Program", "Peaks", "Machining", "Go to"})
                EXPECT_FALSE(text.contains(QLatin1String(later))) << text.toStdString();
        }
    }
    unload();
}

TEST_F(FirstControlWindowTest, AFileOpensAndTheSettingsKeepTheirSections) {
    ASSERT_TRUE(registered);
    load();
    open(sample(QStringLiteral("run.txt"), false));
    EXPECT_TRUE(window->windowTitle().contains(QStringLiteral("run.txt")));
    EXPECT_EQ(window->fileName(), gAppFolder + QStringLiteral("run.txt"));
    window->Viewer1().setDistArea(25.0f, 75.0f);
    window->Viewer1().setViewRenewal(true);
    window->Viewer1().refresh();
    EXPECT_GT(window->HS1().maximum(), 0);
    window->mnuFunc(2).trigger();
    unload();
    EXPECT_EQ(ReadIniValue(kProperty, QStringLiteral("Draw Mode")), QStringLiteral("4"));
    const QByteArray ini = apptest::readFile(gAppFolder + QStringLiteral("Plotwell.ini"));
    for (const char* later :
         {"[Compare]", "[Extra Text]", "[Toolpath]", "[NC Program]", "[Machining Time]"})
        EXPECT_FALSE(ini.contains(later)) << later;
}

} // namespace
