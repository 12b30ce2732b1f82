#include "reporttable.h"

#include "reportfont.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>

namespace {

constexpr double kTextPoints = 9.0;
constexpr double kCaptionPoints = 11.0;
constexpr double kCellPadding = 8.0; // on either side of a cell's text
constexpr double kRowSpacing = 1.35; // row height in lines
constexpr double kCaptionGap = 4.0;  // below the caption
// The fewest rows either part of a split table holds.
constexpr std::size_t kLeastRowsOfAPart = 3;

} // namespace

ReportTable::ReportTable(QString caption, QStringList headings)
    : caption_(std::move(caption)), headings_(std::move(headings)) {}

void ReportTable::addRow(const QStringList& cells, bool bold) {
    rows_.push_back({cells, bold});
}

double ReportTable::rowHeight(QPaintDevice& device) const {
    return QFontMetricsF(reportFont(kTextPoints, true), &device).height() * kRowSpacing;
}

double ReportTable::captionHeight(QPaintDevice& device) const {
    if (caption_.isEmpty())
        return 0.0;
    return QFontMetricsF(reportFont(kCaptionPoints, true), &device).height() + kCaptionGap;
}

double ReportTable::height(QPaintDevice& device, double) const {
    return captionHeight(device) + rowHeight(device) * static_cast<double>(rows_.size() + 1);
}

// Each column as wide as its widest text in bold with padding; narrowed in proportion when the
// whole is wider than `width`.
std::vector<double> ReportTable::columnWidths(QPaintDevice& device, double width) const {
    const QFontMetricsF metrics(reportFont(kTextPoints, true), &device);
    std::vector<double> widths(static_cast<std::size_t>(headings_.size()), 0.0);
    auto widen = [&](const QStringList& cells) {
        for (qsizetype i = 0; i < cells.size() && i < headings_.size(); ++i) {
            double& column = widths[static_cast<std::size_t>(i)];
            column = std::max(column, metrics.horizontalAdvance(cells[i]) + 2 * kCellPadding);
        }
    };
    widen(headings_);
    for (const Row& row : rows_)
        widen(row.cells);
    double total = 0.0;
    for (const double column : widths)
        total += column;
    if (total > width && total > 0.0)
        for (double& column : widths)
            column *= width / total;
    return widths;
}

void ReportTable::drawRow(QPainter& painter, const QStringList& cells,
                          const std::vector<double>& widths, double top, double height) const {
    double left = 0.0;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        const QRectF cell(left + kCellPadding, top, widths[i] - 2 * kCellPadding, height);
        const Qt::Alignment alignment = i == 0 ? Qt::AlignLeft : Qt::AlignRight;
        const auto index = static_cast<qsizetype>(i);
        if (index < cells.size())
            painter.drawText(cell, alignment | Qt::AlignVCenter, cells[index]);
        left += widths[i];
    }
}

bool ReportTable::draw(QPainter& painter, const QRectF& area) const {
    QPaintDevice& device = *painter.device();
    painter.save();
    painter.translate(area.topLeft());
    if (!caption_.isEmpty()) {
        painter.setFont(reportFont(kCaptionPoints, true));
        painter.drawText(QRectF(0.0, 0.0, area.width(), captionHeight(device)),
                         Qt::AlignLeft | Qt::AlignTop, caption_);
    }
    const std::vector<double> widths = columnWidths(device, area.width());
    double tableWidth = 0.0;
    for (const double column : widths)
        tableWidth += column;
    const double line = rowHeight(device);
    double top = captionHeight(device);
    painter.setFont(reportFont(kTextPoints, true));
    drawRow(painter, headings_, widths, top, line);
    painter.setPen(QPen(Qt::black, 1.0));
    painter.drawLine(QPointF(0.0, top + line), QPointF(tableWidth, top + line));
    for (const Row& row : rows_) {
        top += line;
        painter.setFont(reportFont(kTextPoints, row.bold));
        drawRow(painter, row.cells, widths, top, line);
    }
    painter.restore();
    return true;
}

ReportTable ReportTable::withRows(std::size_t first, std::size_t end) const {
    ReportTable part(caption_, headings_);
    part.rows_.assign(rows_.begin() + static_cast<std::ptrdiff_t>(first),
                      rows_.begin() + static_cast<std::ptrdiff_t>(end));
    return part;
}

// Split where both parts keep kLeastRowsOfAPart rows or more, as late as the room allows; else
// not at all, and the table starts on the next page.
ReportSection::Parts ReportTable::split(QPaintDevice& device, double, double room) const {
    const double rows = (room - captionHeight(device)) / rowHeight(device) - 1.0;
    if (rows < static_cast<double>(kLeastRowsOfAPart) || rows_.size() < 2 * kLeastRowsOfAPart)
        return {};
    const std::size_t fitting =
        std::min(rows_.size() - kLeastRowsOfAPart, static_cast<std::size_t>(rows));
    return {std::make_unique<ReportTable>(withRows(0, fitting)),
            std::make_unique<ReportTable>(withRows(fitting, rows_.size()))};
}
