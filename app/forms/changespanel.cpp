#include "changespanel.h"

#include "curvexproxy.h"

#include <QAction>
#include <QDockWidget>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QScrollBar>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kFirstRole = Qt::UserRole;
// Texts as wide as each column's usual widest: ranks to 20, blocks and lines of up to six digits,
// a length below 100 m and a time below 10,000 s.
constexpr const char* kWidestTexts[ChangesPanel::ColumnCount] = {
    "20", "999", "888888-888888", "888888-888888", "88888.8", "8888.88"};
constexpr int kLastRole = Qt::UserRole + 1;

QTableWidgetItem* numberItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

// "a" when both ends are the same, else "a-b"; empty when the first is 0 (no line).
QString spanText(qint64 first, qint64 last, bool zeroIsNone) {
    if (zeroIsNone && first == 0)
        return {};
    return first == last ? QString::number(first) : QStringLiteral("%1-%2").arg(first).arg(last);
}

} // namespace

ChangesPanel* ChangesPanel::attach(QMainWindow& window, CurvexProxy& viewer, QMenu& viewMenu) {
    if (!viewer.getChanges(curvex::ChangeKind::Slower, 0))
        return nullptr;
    return new ChangesPanel(window, viewer, viewMenu);
}

ChangesPanel::ChangesPanel(QMainWindow& window, CurvexProxy& viewer, QMenu& viewMenu)
    : QObject(&window), mViewer(viewer) {
    mDock = new QDockWidget(QStringLiteral("Changes"), &window);
    mDock->setObjectName(QStringLiteral("changes"));
    auto* content = new QWidget(mDock);
    auto* layout = new QVBoxLayout(content);
    mSlower = makeTable(QStringLiteral("Time lost [s]"));
    mFaster = makeTable(QStringLiteral("Time saved [s]"));
    layout->addWidget(new QLabel(QStringLiteral("Largest slowdowns"), content));
    layout->addWidget(mSlower);
    layout->addWidget(new QLabel(QStringLiteral("Largest speed-ups"), content));
    layout->addWidget(mFaster);
    mDock->setWidget(content);
    viewMenu.addAction(mDock->toggleViewAction());
    connect(mDock, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible)
            update();
    });
    // Shown from the menu, the tab comes to the front of the tabs beside it.
    connect(mDock->toggleViewAction(), &QAction::triggered, mDock, [this](bool shown) {
        if (shown)
            mDock->raise();
    });
    for (QTableWidget* table : {mSlower, mFaster})
        connect(table, &QTableWidget::cellClicked, this,
                [this, table](int row, int) { rowClicked(*table, row); });
}

QTableWidget* ChangesPanel::makeTable(const QString& timeCaption) {
    auto* table = new QTableWidget(0, ColumnCount);
    table->setHorizontalHeaderLabels({QStringLiteral("#"), QStringLiteral("Tool"),
                                      QStringLiteral("Blocks"), QStringLiteral("Lines"),
                                      QStringLiteral("Length mm"), timeCaption});
    table->verticalHeader()->hide();
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return table;
}

QSize ChangesPanel::room() const {
    const QLayout& layout = *mDock->widget()->layout();
    const QMargins margins = layout.contentsMargins();
    const int table = mSlower->horizontalHeader()->sizeHint().height() +
                      kFirstRows * mSlower->verticalHeader()->defaultSectionSize() +
                      2 * mSlower->frameWidth();
    const int caption = mDock->widget()->findChild<QLabel*>()->sizeHint().height();
    return {std::max(wholeWidth(*mSlower), wholeWidth(*mFaster)) + margins.left() + margins.right(),
            margins.top() + margins.bottom() + 2 * (caption + table) + 3 * layout.spacing()};
}

// The columns as wide as their contents (sized now rather than at the table's next layout), and
// at least as wide as the texts they usually hold, for a panel that opens before any data.
int ChangesPanel::wholeWidth(QTableWidget& table) {
    QHeaderView& header = *table.horizontalHeader();
    header.resizeSections(QHeaderView::ResizeToContents);
    const int margins =
        2 * (table.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &table) + 1);
    int width = 2 * table.frameWidth() + table.verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < ColumnCount; ++column)
        width += std::max(
            header.sectionSize(column),
            table.fontMetrics().horizontalAdvance(QLatin1String(kWidestTexts[column])) + margins);
    return width;
}

QTableWidget& ChangesPanel::table(curvex::ChangeKind kind) const {
    return kind == curvex::ChangeKind::Slower ? *mSlower : *mFaster;
}

void ChangesPanel::update() {
    if (mDock->isHidden())
        return;
    fill(curvex::ChangeKind::Slower);
    fill(curvex::ChangeKind::Faster);
}

void ChangesPanel::fill(curvex::ChangeKind kind) {
    QTableWidget& shown = table(kind);
    const QVariantList rows = mViewer.getChanges(kind, kListed).value_or(QVariantList());
    shown.setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < rows.size(); ++row) {
        const QVariantList run = rows[row].toList();
        if (run.size() < curvex::ChangeFieldCount)
            continue;
        const qint64 first = run[curvex::ChangeFirst].toLongLong();
        const qint64 last = run[curvex::ChangeLast].toLongLong();
        const qint64 firstLine =
            mViewer.getRecordLine(static_cast<std::int32_t>(first)).value_or(0);
        const qint64 lastLine = mViewer.getRecordLine(static_cast<std::int32_t>(last)).value_or(0);
        const double difference =
            run[curvex::ChangeOptimised].toDouble() - run[curvex::ChangeProgrammed].toDouble();
        const QString texts[ColumnCount] = {
            QString::number(row + 1),
            QString::number(run[curvex::ChangeToolNo].toInt()),
            spanText(run[curvex::ChangeFirstBlock].toLongLong(),
                     run[curvex::ChangeLastBlock].toLongLong(), false),
            spanText(firstLine, lastLine, true),
            QString::number(run[curvex::ChangeLength].toDouble(), 'f', 1),
            QString::number(std::fabs(difference), 'f', 2),
        };
        for (int column = 0; column < ColumnCount; ++column)
            shown.setItem(row, column, numberItem(texts[column]));
        shown.item(row, ColumnRank)->setData(kFirstRole, first);
        shown.item(row, ColumnRank)->setData(kLastRole, last);
    }
}

void ChangesPanel::rowClicked(const QTableWidget& table, int row) {
    const QTableWidgetItem* rank = table.item(row, ColumnRank);
    if (rank)
        mViewer.showRecords(rank->data(kFirstRole).toInt(), rank->data(kLastRole).toInt());
}
