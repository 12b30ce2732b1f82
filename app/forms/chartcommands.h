#pragma once

#include "chartexport.h"

#include <QObject>

class CurvexProxy;
class QAction;
class QMainWindow;
class QMenu;

// The main window's chart commands: File > Save Chart As… (Ctrl+S), before Print, and
// Edit > Copy Chart (Ctrl+C), in an Edit menu before `menuAfter`.
class ChartCommands : public QObject {
    Q_OBJECT
public:
    ChartCommands(CurvexProxy& viewer, QMainWindow& window, QMenu& fileMenu, QAction& before,
                  QMenu& menuAfter);

    // The window shows `path` (empty: no file): Save Chart As suggests a name after it.
    void fileShown(const QString& path) { mFileName = path; }

    QAction& saveChartAs() const { return *mSaveChartAs; }
    QMenu& editMenu() const { return *mEditMenu; }
    QAction& copyChart() const { return *mCopyChart; }

private:
    void saveChartAsTriggered();
    void copyChartTriggered();

    ChartExport mExport;
    QString mFileName;
    QAction* mSaveChartAs;
    QMenu* mEditMenu;
    QAction* mCopyChart;
};
