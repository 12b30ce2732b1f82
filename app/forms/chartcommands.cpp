#include "chartcommands.h"

#include "frmmain.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

ChartCommands::ChartCommands(FrmMain& window)
    : QObject(&window), mWindow(window), mExport(window.Viewer1()),
      mSaveChartAs(new QAction(QStringLiteral("Save Chart As…"), &window)),
      mEditMenu(new QMenu(QStringLiteral("Edit"), &window)),
      mCopyChart(mEditMenu->addAction(QStringLiteral("Copy Chart"))) {
    mSaveChartAs->setShortcut(QKeySequence::Save);
    mCopyChart->setShortcut(QKeySequence::Copy);
    window.mnuFile().insertAction(&window.mnuPrint(), mSaveChartAs);
    window.menuBar()->insertMenu(window.mnuConfig().menuAction(), mEditMenu);
    connect(mSaveChartAs, &QAction::triggered, this, &ChartCommands::saveChartAsTriggered);
    connect(mCopyChart, &QAction::triggered, this, &ChartCommands::copyChartTriggered);
}

void ChartCommands::saveChartAsTriggered() {
    mExport.saveChartAs(mWindow.fileName());
}

void ChartCommands::copyChartTriggered() {
    mExport.copyChart();
}
