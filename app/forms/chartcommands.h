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

    QAction& saveChartAs() const { return *saveChartAs_; }
    QMenu& editMenu() const { return *editMenu_; }
    QAction& copyChart() const { return *copyChart_; }

private:
    void saveChartAsTriggered();
    void copyChartTriggered();

    FrmMain& window_;
    ChartExport export_;
    QAction* saveChartAs_;
    QMenu* editMenu_;
    QAction* copyChart_;
};
