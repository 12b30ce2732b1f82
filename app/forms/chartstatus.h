#pragma once

#include <QString>

#include <optional>

class QStatusBar;

// The message area of the main window's status bar: why the last open failed, or the record
// under the pointer. A failure stays until the next load or read-out.
class ChartStatus {
public:
    explicit ChartStatus(QStatusBar& bar);

    // After the open command tried to load `fileName`; `reason` is what the control said, nothing
    // from a control that cannot say.
    void loadDone(const QString& fileName, bool loaded, const std::optional<QString>& reason);
    void showReadOut(const QString& text);
    // Clears a read-out; a failure message stays.
    void clearReadOut();

    QString message() const;

private:
    QStatusBar& mBar;
    bool mReadOutShown = false;
};
