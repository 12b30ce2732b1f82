#pragma once

#include "reportcaptions.h"
#include "reportfacts.h"
#include "reportview.h"

#include <QByteArray>
#include <QString>

// How many of the highest peaks a report lists.
inline constexpr std::size_t kReportPeaks = 10;
// How many of the largest slowdowns and of the largest speed-ups a report lists.
inline constexpr std::size_t kReportChanges = 5;

// What the report of `view` shows: `title` and the data file `dataFile` (as given, made absolute)
// in its header with the file's time and the time of writing; a time row per tool, "T" and its
// number, the total and, when the shown range is narrowed, the shown range's row, named with the
// captions; the chart with its legend; the highest kReportPeaks peaks, ranked from 1; the
// toolpath; and where the optimisation acted: the feed-change chart, the toolpath coloured by feed
// change, the kReportChanges largest slowdowns and speed-ups, and the air cutting of the whole
// file and, when the shown range is narrowed, of the shown range.
ReportFacts ComposeReport(ReportView& view, const QString& title, const QString& dataFile,
                          const ReportCaptions& captions);

// The report of `view` as a PDF; empty when it cannot be drawn.
QByteArray ReportPdf(ReportView& view, const QString& title, const QString& dataFile,
                     const ReportCaptions& captions);
