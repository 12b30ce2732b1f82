#pragma once

#include "panelobserver.h"

#include <QObject>
#include <QVariantList>

class ChartStatus;
class CurvexProxy;
class QAction;
class QMainWindow;

// Reading the chart from the main window: the read-out of the record under the pointer in the
// status bar, View > "Go to Block..." (Ctrl+G), and the shortcuts of the file commands (Ctrl+O
// open, Ctrl+P print, Ctrl+Q exit).
class ChartReading : public QObject, public PanelObserver {
    Q_OBJECT
public:
    struct FileCommands {
        QAction& open;
        QAction& print;
        QAction& exit;
    };

    ChartReading(QMainWindow& window, CurvexProxy& viewer, ChartStatus& status,
                 const FileCommands& commands);

    QAction& mnuGoToBlock() const { return *mMnuGoToBlock; }
    // Reads the caption of the elapsed times from section "Extra Text".
    void load();

    void mnuGoToBlock_Click();
    // The control's read-out event: the record's fields in the event's order.
    void Viewer1_ReadOut(const QVariantList& record);
    void Viewer1_ReadOutCleared();

    // The captions the read-out uses, read only from a control that compares (the settings
    // file's keys stay in their order otherwise).
    void settingsLoaded() override;
    void readOutShown(const QVariantList& values) override { Viewer1_ReadOut(values); }
    void readOutCleared() override { Viewer1_ReadOutCleared(); }

    // The status-bar text of a read-out record shown with draw-mode mask `drawMode` and compare
    // mode `compareMode`, its value in the unit of the plotted series.
    static QString describe(const QVariantList& record, int drawMode, int compareMode);
    // " at 5812.4 mm · programmed 0:07:12.3, optimised 0:05:21.0": the record's position (mm, or
    // block number for distance mode 2) and the elapsed programmed and optimised machining time
    // put into `elapsedFormat` (%1 programmed, %2 optimised).
    static QString describePlace(const QVariantList& place, int distanceMode,
                                 const QString& elapsedFormat);

private:
    CurvexProxy& mViewer;
    ChartStatus& mStatus;
    QAction* mMnuGoToBlock = nullptr;
    QString mElapsedFormat;
};
