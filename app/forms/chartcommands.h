#pragma once

#include "chartexport.h"

#include <QObject>

class FrmMain;
class QAction;
class QMenu;

// The main window's chart commands: File > Save Chart As… (Ctrl+S), before Print, and
// Edit > Copy Chart (Ctrl+C), in an Edit menu after File.
class ChartCommands : public QObject {
    Q_OBJECT
public:
    explicit ChartCommands(FrmMain& window);

    QAction& saveChartAs() const { return *mSaveChartAs; }
    QMenu& editMenu() const { return *mEditMenu; }
    QAction& copyChart() const { return *mCopyChart; }

private:
    void saveChartAsTriggered();
    void copyChartTriggered();

    FrmMain& mWindow;
    ChartExport mExport;
    QAction* mSaveChartAs;
    QMenu* mEditMenu;
    QAction* mCopyChart;
};
