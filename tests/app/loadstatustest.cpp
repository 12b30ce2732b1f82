#include "forms/loadstatus.h"
#include "apptestsupport.h"

#include <gtest/gtest.h>

#include <QMainWindow>
#include <QStatusBar>

namespace {

// A long load of a file named on the command line runs before the window first shows: its
// progress shows the window, and the status bar tells the progress and the end.
TEST(LoadStatus, ProgressShowsTheWindowAndTheStatusBarTellsIt) {
    apptest::application();
    QMainWindow window;
    LoadStatus status(window);
    ASSERT_FALSE(window.isVisible());
    status.progress(40);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.statusBar()->currentMessage(),
              QStringLiteral("Loading... 40 %  (Esc cancels)"));
    status.ended(false);
    EXPECT_TRUE(window.statusBar()->currentMessage().isEmpty());
    status.progress(70);
    status.ended(true);
    EXPECT_EQ(window.statusBar()->currentMessage(),
              QStringLiteral("Load cancelled; the chart keeps the data it had"));
}

} // namespace
