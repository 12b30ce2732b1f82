#pragma once

#include "reportcaptions.h"
#include "reportdocument.h"
#include "reportfacts.h"
#include "reporttable.h"

#include <QByteArray>

// The report of a run: the header, the chart, the machining-time table, the highest peaks, the
// toolpath and where the optimisation acted (OptimisationReport), in that order.
// Further sections are added to the document before it is written.
class MachiningReport {
public:
    MachiningReport(const ReportFacts& facts, const ReportCaptions& captions);

    ReportDocument& document() { return document_; }

    // The whole PDF; empty when it could not be drawn.
    QByteArray pdf();

    // The share of the printable height that the chart takes.
    static constexpr double kChartShare = 0.42;
    // The share that the toolpath takes.
    static constexpr double kToolpathShare = 0.5;

    // The machining-time table: a row per tool, the total in bold, the shown range's row when
    // there is one.
    std::unique_ptr<ReportTable> timeTable() const;
    // The peaks, with an empty "Program line" for a peak whose record has no line.
    std::unique_ptr<ReportTable> peaksTable() const;

private:
    std::unique_ptr<ReportSection> header() const;

    const ReportFacts& facts_;
    const ReportCaptions& captions_;
    ReportDocument document_;
};
