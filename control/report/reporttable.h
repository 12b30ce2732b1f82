#pragma once

#include "reportsection.h"

#include <QString>
#include <QStringList>

#include <vector>

// A table of text under a caption: a heading row, then rows of cells, each column aligned left
// (the first) or right (the others, numbers). A table longer than the room left on a page goes
// on on the next one, its caption and heading repeated, where both parts hold three rows or
// more; otherwise it starts on the next page whole.
class ReportTable : public ReportSection {
public:
    struct Row {
        QStringList cells;
        bool bold = false;
    };

    ReportTable(QString caption, QStringList headings);

    void addRow(const QStringList& cells, bool bold = false);
    const std::vector<Row>& rows() const { return rows_; }

    double height(QPaintDevice& device, double width) const override;
    bool draw(QPainter& painter, const QRectF& area) const override;
    Parts split(QPaintDevice& device, double width, double room) const override;

private:
    double rowHeight(QPaintDevice& device) const;
    double captionHeight(QPaintDevice& device) const;
    std::vector<double> columnWidths(QPaintDevice& device, double width) const;
    void drawRow(QPainter& painter, const QStringList& cells, const std::vector<double>& widths,
                 double top, double height) const;
    ReportTable withRows(std::size_t first, std::size_t end) const;

    QString caption_;
    QStringList headings_;
    std::vector<Row> rows_;
};
