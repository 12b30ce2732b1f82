#include "loadstatus.h"

#include <QMainWindow>
#include <QStatusBar>

namespace {

constexpr int kEndMessageMs = 5000;

} // namespace

// A file named on the command line is loaded before the window first shows: a load that reports
// progress is a long one, and the window shows itself so that its progress and Esc can be seen.
void LoadStatus::progress(int percent) {
    if (!mWindow.isVisible())
        mWindow.show();
    mWindow.statusBar()->showMessage(QStringLiteral("Loading... %1 %  (Esc cancels)").arg(percent));
}

void LoadStatus::ended(bool cancelled) {
    if (cancelled)
        mWindow.statusBar()->showMessage(
            QStringLiteral("Load cancelled; the chart keeps the data it had"), kEndMessageMs);
    else
        mWindow.statusBar()->clearMessage();
}
