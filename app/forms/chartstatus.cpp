#include "chartstatus.h"

#include <QStatusBar>

ChartStatus::ChartStatus(QStatusBar& bar) : mBar(bar) {}

void ChartStatus::loadDone(const QString& fileName, bool loaded,
                           const std::optional<QString>& reason) {
    mReadOutShown = false;
    if (loaded) {
        mBar.clearMessage();
        return;
    }
    QString text = QStringLiteral("Cannot load %1").arg(fileName);
    if (reason && !reason->isEmpty())
        text += QStringLiteral(": ") + *reason;
    mBar.showMessage(text);
}

void ChartStatus::showReadOut(const QString& text) {
    mReadOutShown = true;
    mBar.showMessage(text);
}

void ChartStatus::clearReadOut() {
    if (!mReadOutShown)
        return;
    mReadOutShown = false;
    mBar.clearMessage();
}

QString ChartStatus::message() const {
    return mBar.currentMessage();
}
