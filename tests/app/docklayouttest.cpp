// The docks of the real main window on a screen of 1280 x 800: where they go, the room they open
// with and how the user's arrangement is kept in section "Docks".

#include "forms/docklayout.h"
#include "forms/changespanel.h"
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
#include <QStyle>
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

    // Every panel, the changes as a tab behind the peaks.
    void showAll() {
        for (const auto& [name, dock] : docks())
            dock->show();
        window->changesPanel()->dock().show();
        window->peaksPanel()->dock().raise();
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

    // Each caption and text of both change tables within its column, and every column within the
    // table's view: nothing cut, nothing to scroll to.
    void expectChangesReadable() {
        ChangesPanel& changes = *window->changesPanel();
        changes.dock().raise();
        settle();
        for (const auto kind : {curvex::ChangeKind::Slower, curvex::ChangeKind::Faster}) {
            const QTableWidget& table = changes.table(kind);
            ASSERT_GT(table.rowCount(), 0);
            const QHeaderView& header = *table.horizontalHeader();
            const QFontMetrics metrics = table.fontMetrics();
            // The margins the style leaves either side of a cell's and a caption's text.
            const int cellMargin =
                table.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &table) + 1;
            const int captionMargin =
                header.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &header);
            for (int column = 0; column < table.columnCount(); ++column) {
                const int width = header.sectionSize(column);
                const QString caption = table.horizontalHeaderItem(column)->text();
                EXPECT_LE(header.fontMetrics().horizontalAdvance(caption) + 2 * captionMargin,
                          width)
                    << caption.toStdString() << " cut";
                for (int row = 0; row < table.rowCount(); ++row)
                    EXPECT_LE(metrics.horizontalAdvance(table.item(row, column)->text()) +
                                  2 * cellMargin,
                              width)
                        << caption.toStdString() << " row " << row << " cut";
                EXPECT_LE(header.sectionViewportPosition(column) + width, table.viewport()->width())
                    << caption.toStdString() << " beyond the view";
            }
        }
        window->peaksPanel()->dock().raise();
        settle();
    }

    void expectEveryPanelWithRoom(bool panelsFirst);

    QString dockKey(const char* dock, const char* key) {
        return ReadIniValue(kDocks, QLatin1String(dock) + u' ' + QLatin1String(key));
    }
};

// Toolpath on the right above the peaks, program and machining times as tabs at the bottom, the
// changes behind the peaks, each with the room it needs, in a window as large as the screen.
void DockLayoutTest::expectEveryPanelWithRoom(bool panelsFirst) {
    load();
    window->setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    settle();
    if (panelsFirst)
        showAll();
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
    EXPECT_TRUE(
        window->tabifiedDockWidgets(all["Peaks"]).contains(&window->changesPanel()->dock()));
    // The program's tab in front, as the user brings it.
    all["Program"]->raise();
    settle();
    expectRoom();
    expectChangesReadable();
}

TEST_F(DockLayoutTest, EveryPanelOpensWithRoomInAWindowAsLargeAsTheScreen) {
    expectEveryPanelWithRoom(false);
}

// Panels opened before any data: the changes' columns still have room for the data's texts.
TEST_F(DockLayoutTest, PanelsOpenedBeforeTheDataHaveRoomForIt) {
    expectEveryPanelWithRoom(true);
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
    expectChangesReadable();
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
        for (const char* key : {"Left", "Top"})
            EXPECT_EQ(dockKey(name, key), QString()) << name << key << ": kept for floating docks";
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

// A floating panel comes back floating with its size at its place, its place kept as "Left" and
// "Top"; a place kept on no screen is not taken, so that the panel stays within reach.
TEST_F(DockLayoutTest, AFloatingPanelComesBackAtItsPlaceWithItsSize) {
    const struct {
        const char* name;
        QPoint place;
        QSize size;
    } cases[] = {{"Toolpath", {140, 90}, {430, 380}},
                 {"Peaks", {700, 260}, {460, 330}},
                 {"Program", {20, 410}, {620, 300}}};
    for (const auto& c : cases) {
        load();
        openPart();
        QDockWidget* dock = docks()[c.name];
        dock->show();
        settle();
        dock->setFloating(true);
        dock->resize(c.size);
        dock->move(c.place);
        settle();
        ASSERT_EQ(dock->pos(), c.place) << c.name;
        unload();

        EXPECT_EQ(dockKey(c.name, "Area"), QStringLiteral("0")) << c.name;
        EXPECT_EQ(dockKey(c.name, "Left"), QString::number(c.place.x())) << c.name;
        EXPECT_EQ(dockKey(c.name, "Top"), QString::number(c.place.y())) << c.name;
        for (const char* key : {"Left", "Top"})
            EXPECT_LE(dockKey(c.name, key).toUtf8().size(), 254) << c.name << key;

        load();
        settle();
        dock = docks()[c.name];
        EXPECT_TRUE(dock->isFloating()) << c.name;
        EXPECT_TRUE(dock->isVisible()) << c.name;
        EXPECT_EQ(dock->pos(), c.place) << c.name;
        EXPECT_EQ(dock->size(), c.size) << c.name;
        // Docked again by the user, it is kept docked.
        window->addDockWidget(Qt::LeftDockWidgetArea, dock);
        dock->setFloating(false);
        settle();
        unload();
        EXPECT_EQ(dockKey(c.name, "Area"), QString::number(Qt::LeftDockWidgetArea)) << c.name;
        load();
        settle();
        EXPECT_FALSE(docks()[c.name]->isFloating()) << c.name;
        unload();
    }

    WriteIniValue(kDocks, QStringLiteral("Peaks Left"), QStringLiteral("5000"));
    WriteIniValue(kDocks, QStringLiteral("Peaks Top"), QStringLiteral("-3000"));
    WriteIniValue(kDocks, QStringLiteral("Peaks Area"), QStringLiteral("0"));
    load();
    settle();
    QDockWidget* peaks = docks()["Peaks"];
    EXPECT_TRUE(peaks->isFloating());
    EXPECT_NE(QGuiApplication::screenAt(peaks->pos()), nullptr)
        << peaks->pos().x() << "," << peaks->pos().y();
}

} // namespace
