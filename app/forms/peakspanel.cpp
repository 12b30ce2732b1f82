#include "peakspanel.h"

#include "curvexids.h"
#include "curvexproxy.h"

#include <QDockWidget>
#include <QHeaderView>
#include <QMainWindow>
#include <QMenu>
#include <QTableWidget>

namespace {

QTableWidgetItem* numberItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

} // namespace

PeaksPanel* PeaksPanel::attach(QMainWindow& window, CurvexProxy& viewer, QMenu& viewMenu) {
    if (!viewer.getPeaks())
        return nullptr;
    return new PeaksPanel(window, viewer, viewMenu);
}

PeaksPanel::PeaksPanel(QMainWindow& window, CurvexProxy& viewer, QMenu& viewMenu)
    : QObject(&window), mViewer(viewer) {
    mDock = new QDockWidget(QStringLiteral("Peaks"), &window);
    mDock->setObjectName(QStringLiteral("peaks"));
    mTable = new QTableWidget(0, ColumnCount, mDock);
    mTable->setHorizontalHeaderLabels({QStringLiteral("#"), QStringLiteral("Block"),
                                       QStringLiteral("Tool"), QStringLiteral("Value"),
                                       QStringLiteral("Programmed"), QStringLiteral("Optimised"),
                                       QStringLiteral("Line")});
    mTable->verticalHeader()->hide();
    mTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    mTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    mDock->setWidget(mTable);
    window.addDockWidget(Qt::RightDockWidgetArea, mDock);
    mDock->hide();
    viewMenu.addAction(mDock->toggleViewAction());
    connect(mDock, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible)
            update();
    });
    connect(mTable, &QTableWidget::cellClicked, this, [this](int row, int) { rowClicked(row); });
}

void PeaksPanel::update() {
    if (mDock->isHidden())
        return;
    const QVariantList rows = mViewer.getPeaks().value_or(QVariantList());
    mTable->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < rows.size(); ++row) {
        const QVariantList peak = rows[row].toList();
        if (peak.size() < curvex::PeakFieldCount)
            continue;
        const int line = peak[curvex::PeakLine].toInt();
        const QString texts[ColumnCount] = {
            QString::number(row + 1),
            QString::number(peak[curvex::PeakBlockNo].toInt()),
            QString::number(peak[curvex::PeakToolNo].toInt()),
            QString::number(peak[curvex::PeakValue].toDouble(), 'g', 6),
            QString::number(peak[curvex::PeakOrgFeed].toInt()),
            QString::number(peak[curvex::PeakOptFeed].toInt()),
            line > 0 ? QString::number(line) : QString(),
        };
        for (int column = 0; column < ColumnCount; ++column)
            mTable->setItem(row, column, numberItem(texts[column]));
        mTable->item(row, ColumnRank)->setData(Qt::UserRole, peak[curvex::PeakIndex]);
    }
}

void PeaksPanel::rowClicked(int row) {
    const QTableWidgetItem* rank = mTable->item(row, ColumnRank);
    if (rank)
        mViewer.markRecord(rank->data(Qt::UserRole).toInt());
}
