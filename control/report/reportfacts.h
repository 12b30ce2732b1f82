#pragma once

#include "reportchart.h"

#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

// One row of a report's machining-time table: times in seconds, saved percent empty when the
// programmed time is 0.
struct ReportTimeRow {
    QString name;
    quint64 records = 0;
    double programmed = 0.0;
    double optimised = 0.0;
    double saved = 0.0;
    std::optional<double> savedPercent;
};

// What a report shows, gathered by the command or the window.
struct ReportFacts {
    QString title;
    QString dataFile; // the full path
    QDateTime modified;
    QDateTime written;
    quint64 records = 0;
    std::vector<ReportTimeRow> tools; // named "T1", "T2", ...
    ReportTimeRow total;
    std::optional<ReportTimeRow> shown; // when the shown range is narrowed
    ReportChart::Drawing chart;
};
