#pragma once

#include "reportsection.h"

#include <QString>
#include <QStringList>

// The head of a report: its title in large type, then one line per fact ("File: /path").
class ReportHeader : public ReportSection {
public:
    ReportHeader(QString title, QStringList lines);

    double height(QPaintDevice& device, double width) const override;
    bool draw(QPainter& painter, const QRectF& area) const override;

private:
    QString title_;
    QStringList lines_;
};
