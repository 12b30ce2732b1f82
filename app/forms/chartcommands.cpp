#include "chartcommands.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

ChartCommands::ChartCommands(CurvexProxy& viewer, QMainWindow& window, QMenu& fileMenu,
                             QAction& before, QMenu& menuAfter)
    : QObject(&window), mExport(viewer),
      mSaveChartAs(new QAction(QStringLiteral("Save Chart As…"), &window)),
      mEditMenu(new QMenu(QStringLiteral("Edit"), &window)),
      mCopyChart(mEditMenu->addAction(QStringLiteral("Copy Chart"))) {
    mSaveChartAs->setShortcut(QKeySequence::Save);
    mCopyChart->setShortcut(QKeySequence::Copy);
    fileMenu.insertAction(&before, mSaveChartAs);
    window.menuBar()->insertMenu(menuAfter.menuAction(), mEditMenu);
    connect(mSaveChartAs, &QAction::triggered, this, &ChartCommands::saveChartAsTriggered);
    connect(mCopyChart, &QAction::triggered, this, &ChartCommands::copyChartTriggered);
}

void ChartCommands::saveChartAsTriggered() {
    mExport.saveChartAs(mFileName);
}

void ChartCommands::copyChartTriggered() {
    mExport.copyChart();
}
