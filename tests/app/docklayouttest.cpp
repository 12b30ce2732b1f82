// The docks of the real main window on a screen of 1280 x 800: where they go, the room they open
// with and how the user's arrangement is kept in section "Docks".

#include "forms/docklayout.h"
#include "forms/machiningtimepanel.h"
#include "forms/peakspanel.h"
#include "forms/programpanel.h"
#include "forms/programview.h"
#include "forms/toolpathcanvas.h"
#include "forms/toolpathpanel.h"
#include "mainwindowfixture.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDockWidget>
#include <QHeaderView>
#include <QScreen>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

// Every window of this program lies on one screen of 1280 x 800, set before the application is
// made.
const bool screenSet = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" PLOTWELL_SCREEN_CONFIG);
    return true;
}();

const QString kDocks = QStringLiteral("Docks");

class DockLayoutTest : public MainWindowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(screenSet);
        ASSERT_EQ(QGuiApplication::primaryScreen()->geometry(), QRect(0, 0, 1280, 800));
    }

    // The sample part and its program, copied into the program folder; the data's path.
    QString part() {
        const QString data = gAppFolder + QStringLiteral("PARTDATA.txt");
        QFile::copy(QStringLiteral("samples/PARTDATA.txt"), data);
        QFile::copy(QStringLiteral("samples/PARTDATA.nc"),
                    gAppFolder + QStringLiteral("PARTDATA.nc"));
        return data;
    }

    void openPart() {
        open(part());
        ProgramPanel& program = *window->programPanel();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !program.reading() && program.linked(); }));
    }

    std::map<std::string, QDockWidget*> docks() {
        return {{"Toolpath", &window->toolpath()->dock()},
                {"Peaks", &window->peaksPanel()->dock()},
                {"Program", &window->programPanel()->dock()},
                {"Machining Time", &window->machiningTime()->dock()}};
    }

    void showAll() {
        for (const auto& [name, dock] : docks())
            dock->show();
        settle();
    }

    // The sizing waits for the next turn of the event loop.
    static void settle() {
        for (int i = 0; i < 5; ++i) {
            QCoreApplication::processEvents();
            QTest::qWait(20);
        }
    }

    // Records the peaks table shows whole.
    int shownPeakRows() {
        const QTableWidget& table = window->peaksPanel()->table();
        return table.viewport()->height() / table.verticalHeader()->defaultSectionSize();
    }

    // The room every panel must have with all of them open.
    void expectRoom() {
        EXPECT_GE(window->programPanel()->view().visibleLines(), 12)
            << "program dock " << window->programPanel()->dock().height() << " px";
        EXPECT_GE(shownPeakRows(), 8);
        const QSize canvas = window->toolpath()->canvas().size();
        EXPECT_GE(canvas.width(), 320);
        EXPECT_GE(canvas.height(), 320);
        EXPECT_GE(window->centralWidget()->width(), 0.55 * window->width());
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        EXPECT_TRUE(screen.contains(window->frameGeometry()))
            << window->frameGeometry().width() << "x" << window->frameGeometry().height();
    }

    QString dockKey(const char* dock, const char* key) {
        return ReadIniValue(kDocks, QLatin1String(dock) + u' ' + QLatin1String(key));
    }
};

// Toolpath on the right above the peaks, program and machining times as tabs at the bottom, each
// with the room it needs, in a window as large as the screen.
TEST_F(DockLayoutTest, EveryPanelOpensWithRoomInAWindowAsLargeAsTheScreen) {
    load();
    window->setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    settle();
    openPart();
    showAll();
    auto all = docks();
    EXPECT_EQ(window->dockWidgetArea(all["Toolpath"]), Qt::RightDockWidgetArea);
    EXPECT_EQ(window->dockWidgetArea(all["Peaks"]), Qt::RightDockWidgetArea);
    EXPECT_LT(all["Toolpath"]->geometry().bottom(), all["Peaks"]->geometry().top());
    EXPECT_EQ(window->dockWidgetArea(all["Program"]), Qt::BottomDockWidgetArea);
    EXPECT_EQ(window->dockWidgetArea(all["Machining Time"]), Qt::BottomDockWidgetArea);
    EXPECT_TRUE(window->tabifiedDockWidgets(all["Program"]).contains(all["Machining Time"]));
    EXPECT_TRUE(window->tabifiedDockWidgets(all["Toolpath"]).isEmpty());
    // The program's tab in front, as the user brings it.
    all["Program"]->raise();
    settle();
    expectRoom();
}

// A window of its first size grows for the panels that open, never beyond the screen.
TEST_F(DockLayoutTest, OpeningPanelsGrowsTheWindowOnlyUpToTheScreen) {
    load();
    const QSize first = window->size();
    openPart();
    showAll();
    EXPECT_GT(window->width(), first.width());
    EXPECT_GT(window->height(), first.height());
    window->programPanel()->dock().raise();
    settle();
    expectRoom();
}

// The arrangement goes to section "Docks" and comes back as it was, the peaks visible again.
TEST_F(DockLayoutTest, TheArrangementIsKeptInSectionDocks) {
    load();
    window->setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    openPart();
    auto all = docks();
    all["Peaks"]->show();
    all["Toolpath"]->show();
    settle();
    // The user moves the toolpath to the left and the machining times to the right below the
    // peaks.
    window->addDockWidget(Qt::LeftDockWidgetArea, all["Toolpath"]);
    window->addDockWidget(Qt::RightDockWidgetArea, all["Machining Time"], Qt::Vertical);
    all["Machining Time"]->show();
    settle();
    window->resizeDocks({all["Toolpath"]}, {350}, Qt::Horizontal);
    settle();
    std::map<std::string, QSize> sizes;
    for (const auto& [name, dock] : all)
        sizes[name] = dock->size();
    unload();

    EXPECT_EQ(dockKey("Toolpath", "Area"), QString::number(Qt::LeftDockWidgetArea));
    EXPECT_EQ(dockKey("Peaks", "Area"), QString::number(Qt::RightDockWidgetArea));
    EXPECT_EQ(dockKey("Machining Time", "Area"), QString::number(Qt::RightDockWidgetArea));
    EXPECT_EQ(dockKey("Program", "Area"), QString::number(Qt::BottomDockWidgetArea));
    EXPECT_EQ(dockKey("Peaks", "Order").toInt() / 100 + 1,
              dockKey("Machining Time", "Order").toInt() / 100)
        << "the machining times a row below the peaks";
    for (const char* name : {"Toolpath", "Peaks", "Program", "Machining Time"}) {
        EXPECT_EQ(dockKey(name, "Visible"), QStringLiteral("1")) << name;
        EXPECT_EQ(dockKey(name, "Width").toInt(), sizes[name].width()) << name;
        EXPECT_EQ(dockKey(name, "Height").toInt(), sizes[name].height()) << name;
        for (const char* key : {"Area", "Visible", "Width", "Height", "Order"})
            EXPECT_LE(dockKey(name, key).toUtf8().size(), 254) << name << key;
    }
    EXPECT_EQ(ReadIniValue(QStringLiteral("Toolpath"), QStringLiteral("Area")), QString())
        << "no place keys in the toolpath's own section";

    load();
    all = docks();
    settle();
    EXPECT_EQ(window->dockWidgetArea(all["Toolpath"]), Qt::LeftDockWidgetArea);
    EXPECT_EQ(window->dockWidgetArea(all["Peaks"]), Qt::RightDockWidgetArea);
    EXPECT_EQ(window->dockWidgetArea(all["Machining Time"]), Qt::RightDockWidgetArea);
    EXPECT_LT(all["Peaks"]->geometry().top(), all["Machining Time"]->geometry().top());
    EXPECT_EQ(window->dockWidgetArea(all["Program"]), Qt::BottomDockWidgetArea);
    for (const auto& [name, dock] : all)
        EXPECT_TRUE(dock->isVisible()) << name;
    EXPECT_EQ(all["Toolpath"]->width(), sizes["Toolpath"].width());

    // Hidden docks stay hidden and keep their place.
    all["Peaks"]->hide();
    unload();
    EXPECT_EQ(dockKey("Peaks", "Visible"), QStringLiteral("0"));
    load();
    EXPECT_TRUE(window->peaksPanel()->dock().isHidden());
    EXPECT_EQ(window->dockWidgetArea(&window->peaksPanel()->dock()), Qt::RightDockWidgetArea);
}

// Without section "Docks" the toolpath's place comes once from its own section; from then on
// section "Docks" holds it.
TEST_F(DockLayoutTest, TheToolpathsOlderPlaceIsReadOnceWithoutSectionDocks) {
    const QString older = QStringLiteral("Toolpath");
    WriteIniValue(older, QStringLiteral("Visible"), QStringLiteral("1"));
    WriteIniValue(older, QStringLiteral("Area"), QString::number(Qt::LeftDockWidgetArea));
    WriteIniValue(older, QStringLiteral("Floating"), QStringLiteral("0"));
    WriteIniValue(older, QStringLiteral("Width"), QStringLiteral("410"));
    WriteIniValue(older, QStringLiteral("Height"), QStringLiteral("380"));
    load();
    settle();
    QDockWidget* toolpath = &window->toolpath()->dock();
    EXPECT_FALSE(toolpath->isHidden());
    EXPECT_EQ(window->dockWidgetArea(toolpath), Qt::LeftDockWidgetArea);
    EXPECT_EQ(toolpath->width(), 410);
    unload();
    EXPECT_EQ(dockKey("Toolpath", "Area"), QString::number(Qt::LeftDockWidgetArea));

    WriteIniValue(older, QStringLiteral("Area"), QString::number(Qt::BottomDockWidgetArea));
    WriteIniValue(older, QStringLiteral("Visible"), QStringLiteral("0"));
    load();
    EXPECT_FALSE(window->toolpath()->dock().isHidden()) << "section Docks wins";
    EXPECT_EQ(window->dockWidgetArea(&window->toolpath()->dock()), Qt::LeftDockWidgetArea);
}

// The toolpath's view, colouring and place come back exactly as they were saved.
TEST_F(DockLayoutTest, TheToolpathsViewColourAndPlaceAreRestoredExactly) {
    struct Case {
        const char* view;
        int colour;
        Qt::DockWidgetArea area;
        int width;
    };
    const Case cases[] = {{"toolpathView1", 1, Qt::LeftDockWidgetArea, 360},
                          {"toolpathView0", 3, Qt::RightDockWidgetArea, 420},
                          {"toolpathView2", 2, Qt::BottomDockWidgetArea, 0},
                          {"toolpathView3", 0, Qt::RightDockWidgetArea, 390}};
    for (const Case& c : cases) {
        load();
        window->setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
        ToolpathPanel& panel = *window->toolpath();
        QDockWidget& dock = panel.dock();
        window->addDockWidget(c.area, &dock);
        dock.show();
        settle();
        if (c.width > 0)
            window->resizeDocks({&dock}, {c.width}, Qt::Horizontal);
        auto* button = dock.findChild<QAbstractButton*>(QLatin1String(c.view));
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
        dock.findChild<QComboBox*>(QStringLiteral("toolpathColour"))->setCurrentIndex(c.colour);
        settle();
        const QSize size = dock.size();
        const int view = QString::fromLatin1(c.view).back().digitValue();
        unload();

        EXPECT_EQ(ReadIniValue(QStringLiteral("Toolpath"), QStringLiteral("View")),
                  QString::number(view));
        load();
        settle();
        ToolpathPanel& again = *window->toolpath();
        EXPECT_EQ(window->dockWidgetArea(&again.dock()), c.area) << c.view;
        EXPECT_EQ(again.dock().size(), size) << c.view;
        EXPECT_EQ(static_cast<int>(again.view()), view) << c.view;
        EXPECT_EQ(
            again.dock().findChild<QComboBox*>(QStringLiteral("toolpathColour"))->currentIndex(),
            c.colour)
            << c.view;
        unload();
    }
}

} // namespace
