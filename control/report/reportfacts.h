#pragma once

#include "changeruns.h"
#include "reportchart.h"
#include "reportpicture.h"

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

// One of the highest peaks: its rank from 1, the record's block, tool and feeds, the plotted
// value, and the NC program's line (0 when no program is known or the record has none).
struct ReportPeakRow {
    quint32 rank = 0;
    qint32 block = 0;
    qint32 tool = 0;
    double value = 0.0;
    qint32 programmedFeed = 0;
    qint32 optimisedFeed = 0;
    quint32 line = 0;
};

// One of the largest slowdowns or speed-ups, with the NC program's line of its first record (0
// when no program is known or the record has none).
struct ReportChangeRow {
    ChangeRun run;
    quint32 line = 0;
};

// The moves that cut air in a range: length in mm, times in seconds.
struct ReportAirRow {
    QString name;
    double length = 0.0;
    double programmed = 0.0;
    double optimised = 0.0;
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
    std::optional<std::vector<ReportPeakRow>> peaks; // the highest first; none: no section
    bool programLines = false;                       // whether the peaks have a program line column
    ReportPicture::Drawing toolpath;                 // none: no toolpath section
    // Where the optimisation acted: the feed-change chart and the toolpath coloured by feed change
    // (none: not shown), the largest slowdowns and speed-ups (none: no table), whether those have
    // a program line column, and the air cutting of the whole file and of a narrowed shown range.
    ReportChart::Drawing feedChangeChart;
    ReportPicture::Drawing feedChangeToolpath;
    std::optional<std::vector<ReportChangeRow>> slower;
    std::optional<std::vector<ReportChangeRow>> faster;
    bool changeLines = false;
    std::vector<ReportAirRow> air;
};
