#pragma once

#include "reportsection.h"

#include <QString>

// A line of text under a caption, set as a table's caption is: what a report says in place of a
// table that would have no rows.
class ReportNote : public ReportSection {
public:
    ReportNote(QString caption, QString text);

    double height(QPaintDevice& device, double width) const override;
    bool draw(QPainter& painter, const QRectF& area) const override;

private:
    QString caption_;
    QString text_;
};
