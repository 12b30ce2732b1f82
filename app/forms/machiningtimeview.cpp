#include "machiningtimeview.h"

#include "durationtext.h"
#include "extratext.h"

#include <QHeaderView>
#include <QPainter>

namespace {

constexpr int kSwatchSize = 10;
// Swatches the tool column has room for; more are drawn smaller.
constexpr int kShownSwatches = 4;
constexpr int kColourRole = Qt::UserRole;

QString lengthText(double millimetres) {
    return QString::number(millimetres, 'f', 1);
}

QString durationText(double seconds) {
    return QString::fromStdString(DurationText(seconds));
}

QString percentText(const std::optional<double>& percent) {
    return percent ? QString::number(*percent, 'f', 1) : QString();
}

QIcon swatchIcon(const std::vector<QColor>& colours) {
    QPixmap pixmap(static_cast<int>(colours.size()) * (kSwatchSize + 2), kSwatchSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const QRect box(static_cast<int>(i) * (kSwatchSize + 2), 0, kSwatchSize - 1,
                        kSwatchSize - 1);
        painter.fillRect(box, colours[i]);
        painter.setPen(Qt::black);
        painter.drawRect(box);
    }
    return QIcon(pixmap);
}

QTableWidgetItem* cell(const QString& text, Qt::Alignment alignment) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(alignment | Qt::AlignVCenter);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

} // namespace

MachiningTimeView::MachiningTimeView(QWidget* parent) : QTableWidget(0, ColumnCount, parent) {
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setIconSize(QSize(kShownSwatches * (kSwatchSize + 2), kSwatchSize));
}

void MachiningTimeView::readCaptions() {
    QStringList captions;
    for (int column = 0; column < ColumnCount; ++column)
        captions << ExtraText(
            static_cast<ExtraTexts::Key>(ExtraTexts::MachiningToolColumn + column));
    setHorizontalHeaderLabels(captions);
    mTotalCaption = ExtraText(ExtraTexts::MachiningTotalRow);
    mShownCaption = ExtraText(ExtraTexts::MachiningShownRow);
}

void MachiningTimeView::showRows(const std::vector<MachiningRow>& tools, const MachiningRow& total,
                                 const MachiningRow& shown, const CurveColours& colours) {
    const int toolRows = static_cast<int>(tools.size());
    setRowCount(toolRows + 2);
    for (int row = 0; row < toolRows; ++row) {
        const MachiningRow& tool = tools[static_cast<std::size_t>(row)];
        setRow(row, QStringLiteral("T%1").arg(tool.toolNo), tool);
        setToolColours(row, tool.colours, colours);
    }
    setRow(toolRows, mTotalCaption, total);
    setRow(toolRows + 1, mShownCaption, shown);
    QFont bold = font();
    bold.setBold(true);
    for (int column = 0; column < ColumnCount; ++column)
        item(toolRows, column)->setFont(bold);
}

std::vector<QColor> MachiningTimeView::toolColours(int row) const {
    std::vector<QColor> colours;
    if (const QTableWidgetItem* tool = item(row, ColumnTool)) {
        for (const QVariant& colour : tool->data(kColourRole).toList())
            colours.push_back(colour.value<QColor>());
    }
    return colours;
}

void MachiningTimeView::setRow(int row, const QString& name, const MachiningRow& values) {
    const Qt::Alignment right = Qt::AlignRight;
    setItem(row, ColumnTool, cell(name, Qt::AlignLeft));
    setItem(row, ColumnRecords, cell(QString::number(values.records), right));
    setItem(row, ColumnCut, cell(lengthText(values.cutLength), right));
    setItem(row, ColumnRapid, cell(lengthText(values.rapidLength), right));
    setItem(row, ColumnProgrammed, cell(durationText(values.programmed), right));
    setItem(row, ColumnOptimised, cell(durationText(values.optimised), right));
    setItem(row, ColumnSaved, cell(durationText(values.saved), right));
    setItem(row, ColumnSavedPercent, cell(percentText(values.savedPercent), right));
    setItem(row, ColumnNoFeed,
            cell(QStringLiteral("%1 / %2").arg(values.noFeedProgrammed).arg(values.noFeedOptimised),
                 right));
    setItem(row, ColumnAir, cell(lengthText(values.air.length), right));
    setItem(row, ColumnAirProgrammed, cell(durationText(values.air.programmed), right));
    setItem(row, ColumnAirOptimised, cell(durationText(values.air.optimised), right));
}

void MachiningTimeView::setToolColours(int row, std::uint16_t colourBits,
                                       const CurveColours& colours) {
    std::vector<QColor> shown;
    QVariantList stored;
    for (std::size_t n = 0; n < colours.size(); ++n) {
        if (colourBits & (1u << n)) {
            shown.push_back(colours[n]);
            stored.push_back(colours[n]);
        }
    }
    QTableWidgetItem* tool = item(row, ColumnTool);
    tool->setIcon(swatchIcon(shown));
    tool->setData(kColourRole, stored);
}
