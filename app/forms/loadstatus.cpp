#include "loadstatus.h"

#include <QMainWindow>
#include <QStatusBar>

namespace {

constexpr int kEndMessageMs = 5000;

} // namespace

void LoadStatus::progress(int percent) {
    mWindow.statusBar()->showMessage(QStringLiteral("Loading... %1 %  (Esc cancels)").arg(percent));
}

void LoadStatus::ended(bool cancelled) {
    if (cancelled)
        mWindow.statusBar()->showMessage(
            QStringLiteral("Load cancelled; the chart keeps the data it had"), kEndMessageMs);
    else
        mWindow.statusBar()->clearMessage();
}
