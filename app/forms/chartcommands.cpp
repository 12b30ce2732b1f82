#include "chartcommands.h"

#include "frmmain.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

ChartCommands::ChartCommands(FrmMain& window)
    : QObject(&window), window_(window), export_(window.Viewer1()),
      saveChartAs_(new QAction(QStringLiteral("Save Chart As…"), &window)),
      editMenu_(new QMenu(QStringLiteral("Edit"), &window)),
      copyChart_(editMenu_->addAction(QStringLiteral("Copy Chart"))) {
    saveChartAs_->setShortcut(QKeySequence::Save);
    copyChart_->setShortcut(QKeySequence::Copy);
    window.mnuFile().insertAction(&window.mnuPrint(), saveChartAs_);
    window.menuBar()->insertMenu(window.mnuConfig().menuAction(), editMenu_);
    connect(saveChartAs_, &QAction::triggered, this, &ChartCommands::saveChartAsTriggered);
    connect(copyChart_, &QAction::triggered, this, &ChartCommands::copyChartTriggered);
}

void ChartCommands::saveChartAsTriggered() {
    export_.saveChartAs(window_.fileName());
}

void ChartCommands::copyChartTriggered() {
    export_.copyChart();
}
