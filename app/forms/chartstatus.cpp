#include "chartstatus.h"

#include <QStatusBar>

ChartStatus::ChartStatus(QStatusBar& bar) : bar_(bar) {}

void ChartStatus::loadDone(const QString& fileName, bool loaded,
                           const std::optional<QString>& reason) {
    readOutShown_ = false;
    if (loaded) {
        bar_.clearMessage();
        return;
    }
    QString text = QStringLiteral("Cannot load %1").arg(fileName);
    if (reason && !reason->isEmpty())
        text += QStringLiteral(": ") + *reason;
    bar_.showMessage(text);
}

void ChartStatus::showReadOut(const QString& text) {
    readOutShown_ = true;
    bar_.showMessage(text);
}

void ChartStatus::clearReadOut() {
    if (!readOutShown_)
        return;
    readOutShown_ = false;
    bar_.clearMessage();
}

QString ChartStatus::message() const {
    return bar_.currentMessage();
}
