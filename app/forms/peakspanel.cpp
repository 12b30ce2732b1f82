#include "peakspanel.h"

#include "curvexids.h"
#include "curvexproxy.h"

#include <QComboBox>
#include <QDockWidget>
#include <QHeaderView>
#include <QMainWindow>
#include <QMenu>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// How many peaks GetPeaks gives.
constexpr int kDefaultPeaks = 20;

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
    auto* body = new QWidget(mDock);
    auto* column = new QVBoxLayout(body);
    column->setContentsMargins(2, 2, 2, 2);
    mChoice = new QComboBox(body);
    mChoice->setObjectName(QStringLiteral("peaksChoice"));
    mChoice->addItem(QStringLiteral("Highest %1").arg(kDefaultPeaks));
    for (const int count : kPerToolCounts)
        mChoice->addItem(QStringLiteral("Highest %1 of each tool").arg(count));
    column->addWidget(mChoice);
    mTable = new QTableWidget(0, ColumnCount, body);
    column->addWidget(mTable, 1);
    mTable->setHorizontalHeaderLabels({QStringLiteral("#"), QStringLiteral("Block"),
                                       QStringLiteral("Tool"), QStringLiteral("Value"),
                                       QStringLiteral("Programmed"), QStringLiteral("Optimised"),
                                       QStringLiteral("Line")});
    mTable->verticalHeader()->hide();
    mTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    mTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    mDock->setWidget(body);
    window.addDockWidget(Qt::RightDockWidgetArea, mDock);
    mDock->hide();
    viewMenu.addAction(mDock->toggleViewAction());
    connect(mDock, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible)
            update();
    });
    connect(mChoice, &QComboBox::currentIndexChanged, this, &PeaksPanel::update);
    connect(mTable, &QTableWidget::cellClicked, this, [this](int row, int) { rowClicked(row); });
}

void PeaksPanel::update() {
    if (mDock->isHidden())
        return;
    const int choice = mChoice->currentIndex();
    const QVariantList rows =
        (choice > 0 ? mViewer.getToolPeaks(kPerToolCounts[choice - 1]) : mViewer.getPeaks())
            .value_or(QVariantList());
    mTable->setRowCount(static_cast<int>(rows.size()));
    int rank = 0;
    int lastTool = 0;
    for (int row = 0; row < rows.size(); ++row) {
        const QVariantList peak = rows[row].toList();
        if (peak.size() < curvex::PeakFieldCount)
            continue;
        const int line = peak[curvex::PeakLine].toInt();
        const int tool = peak[curvex::PeakToolNo].toInt();
        rank = choice > 0 && row > 0 && tool != lastTool ? 1 : rank + 1;
        lastTool = tool;
        const QString texts[ColumnCount] = {
            QString::number(rank),
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

QSize PeaksPanel::room() const {
    const int frame = 2 * mTable->frameWidth();
    const QLayout& layout = *mDock->widget()->layout();
    const QMargins margins = layout.contentsMargins();
    return {mTable->sizeHint().width(),
            margins.top() + margins.bottom() + mChoice->sizeHint().height() + layout.spacing() +
                mTable->horizontalHeader()->sizeHint().height() +
                kFirstRows * mTable->verticalHeader()->defaultSectionSize() + frame +
                mTable->horizontalScrollBar()->sizeHint().height()};
}

void PeaksPanel::rowClicked(int row) {
    const QTableWidgetItem* rank = mTable->item(row, ColumnRank);
    if (rank)
        mViewer.markRecord(rank->data(Qt::UserRole).toInt());
}
