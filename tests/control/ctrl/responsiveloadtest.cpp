#include "responsiveload.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

namespace {

// Lives until the program ends, as the platform's resources are released after the statics.
QApplication& application() {
    static int argc = 1;
    static char name[] = "responsiveloadtest";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// A widget that counts the mouse presses it receives.
class CountingWidget : public QWidget {
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent*) override { ++presses; }
};

// Work that runs until it is cancelled, as a long load does.
LoadResult untilCancelled(CutDataSet&, LoadMonitor& monitor) {
    for (int permille = 0; !monitor.cancelled; permille = (permille + 7) % 1000) {
        monitor.permille = permille;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return {LoadError::Cancelled};
}

CutDataSet oneRecord(float removal) {
    CutDataSet data;
    CutRecord record;
    record.removal = removal;
    data.records = {record};
    data.totalDistance = {0.0f};
    data.cutDistance = {0.0f};
    data.blockNos = {0};
    data.count = 1;
    return data;
}

// Esc cancels a long load: progress came every tenth of a second after the first half, the
// windows' timers went on, a mouse press waited (it was dropped) and the data set stayed.
TEST(ResponsiveLoad, EscCancelsALongLoadAndKeepsTheDataSet) {
    application();
    CountingWidget widget;
    widget.show();
    std::vector<int> reports;
    ResponsiveLoad load(untilCancelled, [&](int percent) { reports.push_back(percent); });
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(50);
    QTimer::singleShot(300, &widget, [&] {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&widget, &press);
    });
    QTimer::singleShot(900, &widget, [&] {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&widget, &escape);
    });
    CutDataSet data = oneRecord(3.0f);
    const LoadResult result = load.run(data);
    EXPECT_EQ(result.error, LoadError::Cancelled);
    EXPECT_EQ(data.count, 1u);
    EXPECT_EQ(data.records[0].removal, 3.0f);
    EXPECT_TRUE(load.reported());
    EXPECT_GE(reports.size(), 2u);
    EXPECT_GE(ticks, 10);
    EXPECT_EQ(widget.presses, 0);
    // After the load, input reaches the widget again.
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
    EXPECT_EQ(widget.presses, 1);
}

// A short load reports nothing and replaces the data set; a failed one keeps it.
TEST(ResponsiveLoad, QuickLoadsReplaceOnlyOnSuccess) {
    application();
    std::vector<int> reports;
    CutDataSet data = oneRecord(3.0f);
    ResponsiveLoad fails([](CutDataSet&, LoadMonitor&) { return LoadResult{LoadError::Empty}; },
                         [&](int percent) { reports.push_back(percent); });
    EXPECT_EQ(fails.run(data).error, LoadError::Empty);
    EXPECT_EQ(data.records[0].removal, 3.0f);
    ResponsiveLoad loads(
        [](CutDataSet& into, LoadMonitor&) {
            into = oneRecord(5.0f);
            return LoadResult{};
        },
        [&](int percent) { reports.push_back(percent); });
    EXPECT_TRUE(loads.run(data).ok());
    EXPECT_EQ(data.records[0].removal, 5.0f);
    EXPECT_FALSE(loads.reported());
    EXPECT_TRUE(reports.empty());
}

// A window asked to close during a load stays open until the load is over and is closed then,
// so a close request (a window manager's, a termination signal's) is never lost.
TEST(ResponsiveLoad, ACloseRequestDuringTheLoadClosesTheWindowAfterIt) {
    application();
    QWidget window;
    window.show();
    bool openWhenLoadEnded = false;
    ResponsiveLoad load(untilCancelled, [](int) {});
    QTimer::singleShot(100, &window, [&] { window.close(); });
    QTimer::singleShot(300, &window, [&] {
        openWhenLoadEnded = window.isVisible();
        load.cancel();
    });
    CutDataSet data = oneRecord(3.0f);
    EXPECT_EQ(load.run(data).error, LoadError::Cancelled);
    EXPECT_TRUE(openWhenLoadEnded) << "the close was taken during the load";
    EXPECT_TRUE(window.isVisible()) << "closed before the caller took in the result";
    QCoreApplication::processEvents();
    EXPECT_FALSE(window.isVisible()) << "the close request was lost";
}

} // namespace
